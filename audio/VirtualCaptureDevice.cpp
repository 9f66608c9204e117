#include "VirtualCaptureDevice.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <numbers>

namespace corvane::audio {

namespace {

    // Devices deliver 24-bit audio in the full 32-bit range.
    int32_t widen24(int32_t sample) noexcept
    {
        return static_cast<int32_t>(static_cast<uint32_t>(sample) << 8);
    }

} // namespace

VirtualCaptureDevice::VirtualCaptureDevice(VirtualCaptureSource source, VirtualPacing pacing,
                                           const SampleFormat &format, int32_t framesPerBlock,
                                           CaptureQueue &queue)
    : m_source(std::move(source))
    , m_pacing(pacing)
    , m_format(format)
    , m_queue(queue)
    , m_pieceFrames(static_cast<std::size_t>(std::max(1, framesPerBlock / 4)))
    , m_piece(m_pieceFrames * static_cast<std::size_t>(format.frameBytes()))
{
}

VirtualCaptureDevice::~VirtualCaptureDevice()
{
    stop();
}

bool VirtualCaptureDevice::start(std::string &)
{
    WakeSignal &sleepsOn = m_pacing == VirtualPacing::AsFastAsTaken ? m_queue.spaceFreed() : m_wake;
    m_thread.start(sleepsOn, [this] { run(); });
    return true;
}

void VirtualCaptureDevice::stop() noexcept
{
    m_thread.stop();
}

void VirtualCaptureDevice::run() noexcept
{
    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    uint64_t framesDelivered = 0;
    bool exhausted = false;
    for (;;) {
        if (m_thread.stopRequested())
            return;
        if (exhausted) {
            (m_pacing == VirtualPacing::AsFastAsTaken ? m_queue.spaceFreed() : m_wake).wait();
            continue;
        }
        if (m_pacing == VirtualPacing::AsFastAsTaken) {
            if (m_queue.writableFrames() < m_pieceFrames) {
                m_queue.spaceFreed().wait();
                continue;
            }
        } else {
            // The piece is due once the frames before it have played at the real rate.
            const auto due = started
                    + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                            static_cast<double>(framesDelivered) / m_format.sampleRate));
            if (Clock::now() < due && m_wake.waitUntil(due))
                continue; // woken early: only a stop request does that
        }
        const std::size_t frames = produce(m_pieceFrames);
        if (frames < m_pieceFrames)
            exhausted = true;
        if (frames > 0)
            m_queue.push(m_piece.data(), frames);
        framesDelivered += frames;
    }
}

std::size_t VirtualCaptureDevice::produce(std::size_t frames) noexcept
{
    const auto frameBytes = static_cast<std::size_t>(m_format.frameBytes());
    const std::size_t sampleBytes = static_cast<std::size_t>(m_format.bytesPerSample());
    if (m_source.kind == VirtualCaptureSource::Kind::Tone) {
        const double step = 2.0 * std::numbers::pi * m_source.toneHz / m_format.sampleRate;
        const double level = std::clamp(m_source.toneLevel, 0.0, 1.0);
        for (std::size_t f = 0; f < frames; ++f) {
            const double value = level * std::sin(m_phase);
            m_phase = std::fmod(m_phase + step, 2.0 * std::numbers::pi);
            for (int c = 0; c < m_format.channels; ++c) {
                std::byte *slot = m_piece.data() + f * frameBytes + c * sampleBytes;
                if (m_format.bitsPerSample == 8) {
                    *slot = static_cast<std::byte>(128 + std::lround(value * 127.0));
                } else if (m_format.bitsPerSample == 16) {
                    const auto sample = static_cast<int16_t>(std::lround(value * 32767.0));
                    std::memcpy(slot, &sample, 2);
                } else {
                    const int32_t sample =
                            widen24(static_cast<int32_t>(std::lround(value * 8388607.0)));
                    std::memcpy(slot, &sample, 4);
                }
            }
        }
        return frames;
    }

    const std::vector<std::byte> &samples = *m_source.samples;
    std::size_t done = 0;
    while (done < frames) {
        if (m_position >= samples.size()) {
            if (!m_source.loop || samples.empty())
                break;
            m_position = 0;
        }
        const std::size_t take =
                std::min(frames - done, (samples.size() - m_position) / frameBytes);
        if (take == 0)
            break;
        std::memcpy(m_piece.data() + done * frameBytes, samples.data() + m_position,
                    take * frameBytes);
        if (m_format.bitsPerSample == 24) {
            for (std::size_t i = done * frameBytes; i < (done + take) * frameBytes; i += 4) {
                int32_t sample;
                std::memcpy(&sample, m_piece.data() + i, 4);
                sample = widen24(sample);
                std::memcpy(m_piece.data() + i, &sample, 4);
            }
        }
        m_position += take * frameBytes;
        done += take;
    }
    return done;
}

} // namespace corvane::audio
