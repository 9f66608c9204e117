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

} // namespace corvane
