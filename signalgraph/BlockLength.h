#pragma once

#include <cstdint>

namespace corvane {

// Frames per analysis and playback block for a rate in Hz: 8000 or 11025 → 1024; 22050 → 2048;
// 44100 or 48000 → 4096; 88200 or 96000 → 8192; anything else → 4096. About a tenth of a second
// at every rate, so the analyzer sees the same stretch of sound whatever the capture rate.
constexpr int32_t blockLengthForRate(int32_t sampleRate) noexcept
{
    switch (sampleRate) {
    case 8000:
    case 11025:
        return 1024;
    case 22050:
        return 2048;
    case 88200:
    case 96000:
        return 8192;
    default:
        return 4096; // 44100, 48000 and any other rate
    }
}

// Frames the analysis window moves by between results: the largest of a half, a quarter, an
// eighth ... of the block that is at most 25 ms long and still splits into the analyzer's
// smallest band (a multiple of 64 frames, of 128 above 48000 Hz). 11025 → 256, 22050 → 512,
// 44100 and 48000 → 1024, 96000 → 2048, 8000 → 128.
constexpr int32_t hopLengthForRate(int32_t sampleRate) noexcept
{
    const int32_t block = blockLengthForRate(sampleRate);
    const int32_t grain = sampleRate > 48000 ? 128 : 64;
    int32_t hop = block / 2;
    while (hop > grain
           && (hop % grain != 0 || static_cast<int64_t>(hop) * 1000 > 25LL * sampleRate))
        hop /= 2;
    return hop;
}

} // namespace corvane
