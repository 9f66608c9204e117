#include "PlaybackBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace corvane::audio {

namespace {

    template<typename T>
    T loadSample(const std::byte *from) noexcept
    {
        T value;
        std::memcpy(&value, from, sizeof value);
        return value;
    }

    template<typename T>
    void storeSample(std::byte *to, T value) noexcept
    {
        std::memcpy(to, &value, sizeof value);
    }

    long scaled(long sample, float gain, long low, long high) noexcept
    {
        return std::clamp(std::lround(static_cast<float>(sample) * gain), low, high);
    }

    // Copies samples to a device buffer with the volume applied; 24-bit samples are widened to the
    // full 32-bit range that devices take. At full volume 8- and 16-bit samples pass unchanged.
    void copyToDevice(std::byte *to, const std::byte *from, std::size_t bytes,
                      const SampleFormat &format, float gain) noexcept
    {
        switch (format.bitsPerSample) {
        case 8:
            if (gain == 1.0f) {
                std::memcpy(to, from, bytes);
                return;
            }
            for (std::size_t i = 0; i < bytes; ++i) {
                const long centered = std::to_integer<long>(from[i]) - 128;
                to[i] = static_cast<std::byte>(scaled(centered, gain, -128, 127) + 128);
            }
            return;
        case 16:
            if (gain == 1.0f) {
                std::memcpy(to, from, bytes);
                return;
            }
            for (std::size_t i = 0; i + 2 <= bytes; i += 2)
                storeSample(to + i,
                            static_cast<int16_t>(
                                    scaled(loadSample<int16_t>(from + i), gain, -32768, 32767)));
            return;
        case 24:
            for (std::size_t i = 0; i + 4 <= bytes; i += 4) {
                long sample = std::clamp<long>(loadSample<int32_t>(from + i), -8388608, 8388607);
                if (gain != 1.0f)
                    sample = scaled(sample, gain, -8388608, 8388607);
                storeSample(to + i, static_cast<int32_t>(static_cast<uint32_t>(sample) << 8));
            }
            return;
        default:
            std::memset(to, 0, bytes);
            return;
        }
    }

} // namespace

void PlaybackBuffer::prepare(const SampleFormat &format, int32_t halfBytes)
{
    m_format = format;
    m_halfBytes = halfBytes;
    for (auto &half : m_halves) {
        half = std::make_unique<std::byte[]>(static_cast<std::size_t>(halfBytes));
        std::fill_n(half.get(), halfBytes, format.silenceByte());
    }
    m_owner[0].store(Device, std::memory_order_relaxed);
    m_owner[1].store(Device, std::memory_order_relaxed);
    m_underruns.store(0, std::memory_order_relaxed);
    m_playing = 0;
    m_offset = 0;
    m_entered = false;
    while (m_refillNeeded.tryWait()) { }
    while (m_refilled.tryWait()) { }
}

void PlaybackBuffer::render(void *out, std::size_t frameCount) noexcept
{
    renderFrames(static_cast<std::byte *>(out), frameCount, true);
}

std::size_t PlaybackBuffer::renderAvailable(void *out, std::size_t maxFrames) noexcept
{
    return renderFrames(static_cast<std::byte *>(out), maxFrames, false);
}

std::size_t PlaybackBuffer::renderFrames(std::byte *out, std::size_t frameCount,
                                         bool fillSilence) noexcept
{
    const auto frameBytes = static_cast<std::size_t>(m_format.frameBytes());
    const std::size_t wanted = frameCount * frameBytes;
    const auto halfBytes = static_cast<std::size_t>(m_halfBytes);
    std::size_t done = 0;
    const float gain = m_gain.load(std::memory_order_relaxed);
    while (done < wanted && halfBytes > 0) {
        if (!m_entered) {
            if (m_owner[m_playing].load(std::memory_order_acquire) != Device) {
                if (fillSilence) {
                    // The device's own buffer is in device format; for every depth but 8 bits,
                    // silence is zero there as well.
                    std::memset(out + done, std::to_integer<int>(m_format.silenceByte()),
                                wanted - done);
                    m_underruns.fetch_add(1, std::memory_order_relaxed);
                    return frameCount;
                }
                break;
            }
            m_owner[1 - m_playing].store(Worker, std::memory_order_release);
            m_refillNeeded.post();
            m_entered = true;
        }
        const std::size_t piece = std::min(wanted - done, halfBytes - m_offset);
        copyToDevice(out + done, m_halves[m_playing].get() + m_offset, piece, m_format, gain);
        done += piece;
        m_offset += piece;
        if (m_offset == halfBytes) {
            m_offset = 0;
            m_playing = 1 - m_playing;
            m_entered = false;
        }
    }
    return frameBytes ? done / frameBytes : 0;
}

int PlaybackBuffer::pendingHalf() const noexcept
{
    for (int i = 0; i < 2; ++i)
        if (m_owner[i].load(std::memory_order_acquire) == Worker)
            return i;
    return -1;
}

void PlaybackBuffer::finishRefill(int index) noexcept
{
    m_owner[index].store(Device, std::memory_order_release);
    m_refilled.post();
}

} // namespace corvane::audio
