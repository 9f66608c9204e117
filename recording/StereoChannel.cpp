#include "StereoChannel.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace corvane {

namespace {

    // A sample's value as a signed integer, and its full scale.
    int32_t readSample(const uint8_t *p, int32_t bytes) noexcept
    {
        switch (bytes) {
        case 1:
            return static_cast<int32_t>(p[0]) - 128;
        case 2:
            return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
        default: {
            uint32_t raw = 0;
            std::memcpy(&raw, p, 4); // the slots are little-endian, as is every target
            // 24-bit samples are sign-extended into their slot already.
            return static_cast<int32_t>(raw);
        }
        }
    }

    void writeSample(uint8_t *p, int32_t bytes, int32_t value) noexcept
    {
        switch (bytes) {
        case 1:
            p[0] = static_cast<uint8_t>(value + 128);
            break;
        case 2:
            p[0] = static_cast<uint8_t>(value & 0xFF);
            p[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
            break;
        default: {
            const auto raw = static_cast<uint32_t>(value);
            std::memcpy(p, &raw, 4);
            break;
        }
        }
    }

    double fullScale(int32_t bitsPerSample) noexcept
    {
        return std::ldexp(1.0, bitsPerSample - 1);
    }

} // namespace

std::optional<StereoChannel> stereoChannelNamed(std::string_view name) noexcept
{
    if (name == "left")
        return StereoChannel::Left;
    if (name == "right")
        return StereoChannel::Right;
    if (name == "mix")
        return StereoChannel::Mix;
    return std::nullopt;
}

void moveChannelToLeft(uint8_t *block, std::size_t frames, const SampleFormat &format,
                       StereoChannel channel) noexcept
{
    const int32_t bytes = format.bytesPerSample();
    if (channel == StereoChannel::Left || format.channels != 2 || bytes == 0)
        return;
    for (std::size_t i = 0; i < frames; ++i, block += 2 * bytes) {
        const int32_t right = readSample(block + bytes, bytes);
        int32_t value = right;
        if (channel == StereoChannel::Mix) {
            // In 64 bits: two full-scale 24-bit slots would not overflow, but two 32-bit ones
            // from a damaged file could.
            value = static_cast<int32_t>((int64_t { readSample(block, bytes) } + right) / 2);
        }
        writeSample(block, bytes, value);
    }
}

void raiseChannelPeaks(const uint8_t *block, std::size_t frames, const SampleFormat &format,
                       std::array<double, 2> &peaks) noexcept
{
    const int32_t bytes = format.bytesPerSample();
    const int32_t channels = std::clamp(format.channels, 1, 2);
    if (bytes == 0)
        return;
    const double scale = 1.0 / fullScale(format.bitsPerSample);
    std::array<int64_t, 2> largest {};
    for (std::size_t i = 0; i < frames; ++i) {
        for (int32_t c = 0; c < channels; ++c, block += bytes) {
            const int64_t magnitude = std::abs(int64_t { readSample(block, bytes) });
            largest[static_cast<std::size_t>(c)] =
                    std::max(largest[static_cast<std::size_t>(c)], magnitude);
        }
    }
    for (std::size_t c = 0; c < 2; ++c)
        peaks[c] = std::max(peaks[c], static_cast<double>(largest[c]) * scale);
}

} // namespace corvane
