#pragma once

#include "IntonationStatistics.h"
#include "WheelState.h"

#include <string>
#include <string_view>

namespace corvane::tuner {

// What a wheel's tooltip says of how in tune its degree has been played, in words, so that the
// bar's direction is never the only telling: "F#: 42 readings, on average 8.1 cents sharp
// (spread 3.2 cents), 60% in tune", or "F#: not heard yet".
std::string IntonationTip(std::string_view name, const IntonationFigures &figures);

// What a screen reader says of a wheel now, its zone in words as well as its color:
// "A: 3.0 cents sharp, in tune", "Bb: 14.0 cents flat, flat", "C: fading, last 2.0 cents sharp",
// "D: silent".
std::string WheelSpokenValue(const WheelState &wheel);

} // namespace corvane::tuner
