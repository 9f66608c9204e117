#pragma once

#include "CTCDefs.h"
#include "PixelRect.h"

#include <array>

namespace corvane::tuner {

// Where the twelve wheels and their name and tone buttons go in the tuner window: one octave of
// a piano keyboard, the scale's degrees in the lower row. Every wheel is s wide and r = 1.25 s
// high; each carries a name button ("More...") and a square tone button along its bottom edge.
struct PinwheelPlacement
{
    std::array<PixelRect, kDegreeCount> wheels;
    std::array<PixelRect, kDegreeCount> nameButtons;
    std::array<PixelRect, kDegreeCount> toneButtons;
    int iconSize = 16; // 16, 32 or 48: the tone icons' design size
    int bottom = 0;    // the area's new bottom: its top plus two rows

    // First placement, when the window is made: wheels a seventh of the width wide, buttons of
    // the smallest size.
    static PinwheelPlacement Create(const PixelRect &area) noexcept;
    // Placement after a resize: wheels as large as the width and 80 % of the height allow, the
    // buttons growing with them (never smaller than on creation), the rows centered in the width.
    static PinwheelPlacement Layout(const PixelRect &area) noexcept;

    // Column (in wheel widths) and row (0 upper, 1 lower) of each degree.
    static constexpr std::array<double, kDegreeCount> kColumn { 0,   0.5, 1,   1.5, 2,   3,
                                                                3.5, 4,   4.5, 5,   5.5, 6 };
    static constexpr std::array<int, kDegreeCount> kRow { 1, 0, 1, 0, 1, 1, 0, 1, 0, 1, 0, 1 };
    static constexpr int kMinButtonSize = 18;

private:
    static PinwheelPlacement Place(const PixelRect &area, int s, int r, int buttonSize,
                                   int iconDesign) noexcept;
};

} // namespace corvane::tuner
