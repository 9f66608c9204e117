#pragma once

#include <cstdint>

namespace corvane::audio {

// The playback level as the volume sliders store it (0 ... 1, steps of 0.025) and as the output
// applies it. The level maps to hundredths of a decibel by 10000 × log10(level), truncated:
// 1.0 → 0, 0.5 → -3010, 0.1 → -10000. Everything at or below -10000 is silence, and so is a
// level at or below 0 or one that is not a number; levels above 1 are full volume.
inline constexpr int32_t kSilentHundredthsDb = -10000;

int32_t volumeHundredthsDb(float level) noexcept;

// The amplitude factor for a value in hundredths of a decibel: 1.0 at 0, 0.0 at -10000 and
// below.
float gainForHundredthsDb(int32_t hundredths) noexcept;

} // namespace corvane::audio
