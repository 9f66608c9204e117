#pragma once

#include "IntonationStatistics.h"

#include <string>
#include <string_view>

namespace corvane::tuner {

// What a wheel's tooltip says of how in tune its degree has been played, in words, so that the
// bar's direction is never the only telling: "F#: 42 readings, on average 8.1 cents sharp
// (spread 3.2 cents), 60% in tune", or "F#: not heard yet".
std::string IntonationTip(std::string_view name, const IntonationFigures &figures);

} // namespace corvane::tuner
