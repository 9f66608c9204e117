#include "VirtualPlaybackDevice.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace corvane::audio {

VirtualPlaybackDevice::VirtualPlaybackDevice(VirtualPacing pacing, const SampleFormat &format,
                                             PlaybackBuffer &buffer, Sink sink)
    : m_pacing(pacing)
    , m_format(format)
    , m_buffer(buffer)
    , m_sink(std::move(sink))
    , m_pieceFrames(std::max<std::size_t>(
              1,
              static_cast<std::size_t>(buffer.halfBytes() / std::max(1, format.frameBytes()) / 4)))
    , m_piece(m_pieceFrames * static_cast<std::size_t>(format.frameBytes()))
{
}

VirtualPlaybackDevice::~VirtualPlaybackDevice()
{
    stop();
}

bool VirtualPlaybackDevice::start(std::string &)
{
    WakeSignal &sleepsOn = m_pacing == VirtualPacing::AsFastAsTaken ? m_buffer.refilled() : m_wake;
    m_thread.start(sleepsOn, [this] { run(); });
    return true;
}

void VirtualPlaybackDevice::stop() noexcept
{
    m_thread.stop();
}

void VirtualPlaybackDevice::run() noexcept
{
    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    const auto frameBytes = static_cast<std::size_t>(m_format.frameBytes());
    uint64_t framesTaken = 0;
    for (;;) {
        if (m_thread.stopRequested())
            return;
        std::size_t frames = 0;
        if (m_pacing == VirtualPacing::AsFastAsTaken) {
            frames = m_buffer.renderAvailable(m_piece.data(), m_pieceFrames);
            if (frames == 0) {
                m_buffer.refilled().wait();
                continue;
            }
        } else {
            const auto due = started
                    + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                            static_cast<double>(framesTaken) / m_format.sampleRate));
            if (Clock::now() < due && m_wake.waitUntil(due))
                continue;
            m_buffer.render(m_piece.data(), m_pieceFrames);
            frames = m_pieceFrames;
        }
        const std::size_t bytes = frames * frameBytes;
        if (m_format.bitsPerSample == 24) {
            for (std::size_t i = 0; i + 4 <= bytes; i += 4) {
                int32_t sample;
                std::memcpy(&sample, m_piece.data() + i, 4);
                sample >>= 8;
                std::memcpy(m_piece.data() + i, &sample, 4);
            }
        }
        if (m_sink)
            m_sink(m_piece.data(), bytes);
        framesTaken += frames;
    }
}

} // namespace corvane::audio
