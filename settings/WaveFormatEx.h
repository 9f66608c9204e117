#pragma once

#include <cstdint>

namespace corvane {

// A sound format as the settings record stores it: the packed 18-byte wave-format header
// (format tag, channels, samples per second, average bytes per second, block alignment, bits per
// sample, extra size), little-endian, in this field order. Readers use only channels,
// samplesPerSec and bitsPerSample; the other fields are kept as they were stored.
struct WaveFormatEx
{
    std::uint16_t formatTag = 1; // 1 = PCM
    std::uint16_t channels = 1;
    std::uint32_t samplesPerSec = 11025; // Hz
    std::uint32_t avgBytesPerSec = 11025;
    std::uint16_t blockAlign = 1;
    std::uint16_t bitsPerSample = 16;
    std::uint16_t extraSize = 0;

    friend constexpr bool operator==(const WaveFormatEx &, const WaveFormatEx &) = default;
};

inline constexpr int kWaveFormatExBytes = 18;

} // namespace corvane
