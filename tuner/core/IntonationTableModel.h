#pragma once

#include "PixelRect.h"

#include <array>
#include <string>

namespace corvane::tuner {

class PinwheelBoard;
class TunerWindowLayout;

// One row of the intonation table in the tuner's expanded panel: a degree as written in the key
// and how in tune it has been played since the figures were last reset, as texts ready to show.
// A degree not heard yet shows its count of 0 and empty figures, so an empty cell never reads as
// "in tune".
struct IntonationTableRow
{
    std::string degree; // "F#", as the wheel names it
    std::string count;  // "42"
    std::string mean;   // "+8.1" (cents, positive = sharp), "0.0", or empty
    std::string spread; // "3.2" (cents), or empty
    std::string inTune; // "60%" of the readings within the in-tune zone, or empty
    std::string tip;    // the whole sentence, as the wheel's tooltip says it
    bool worst = false; // the degree furthest from its pitch among those heard enough
};

// The table's twelve rows, tonic first, as the board holds them now. Allocates (the texts);
// user-interface thread, once per display update at most.
std::array<IntonationTableRow, 12> IntonationTableRows(const PinwheelBoard &board);

// How often a degree must have been heard before the table calls it the worst: a few stray
// readings of a passing note say little.
inline constexpr long kWorstDegreeMinimumCount = 10;

// Where the table goes in the expanded panel: right of the load bars and under the readout, to
// the right edge of the window less the panel's margin. The same whether the panel is expanded or
// not; the table shows only while it is.
PixelRect IntonationTablePlace(const TunerWindowLayout &layout) noexcept;

} // namespace corvane::tuner
