#include "PinwheelPlacement.h"

#include <algorithm>

namespace corvane::tuner {

namespace {

    int IconSizeFor(int k) noexcept
    {
        if (k >= 48)
            return 48;
        if (k >= 32)
            return 32;
        return 16;
    }

} // namespace

PinwheelPlacement PinwheelPlacement::Place(const PixelRect &area, int s, int r, int k,
                                           int iconDesign) noexcept
{
    PinwheelPlacement p;
    p.bottom = area.top + 2 * r;
    p.iconSize = IconSizeFor(iconDesign);
    for (std::size_t d = 0; d < kDegreeCount; ++d) {
        // Offsets are from the area's corner, so the wheels follow the area wherever it lies.
        const int left = area.left + int(s * kColumn[d]);
        const int top = area.top + r * kRow[d];
        const PixelRect wheel { left, top, left + s, top + r };
        p.wheels[d] = wheel;
        p.nameButtons[d] = { wheel.left + 6, wheel.bottom - 4 - k, wheel.right - 10 - k,
                             wheel.bottom - 4 };
        p.toneButtons[d] = { wheel.right - 6 - k, wheel.bottom - 4 - k, wheel.right - 6,
                             wheel.bottom - 4 };
    }
    return p;
}

PinwheelPlacement PinwheelPlacement::Create(const PixelRect &area) noexcept
{
    const int s = area.width() / 7;
    const int r = int(1.25 * s);
    return Place(area, s, r, kMinButtonSize, r / 5);
}

PinwheelPlacement PinwheelPlacement::Layout(const PixelRect &area) noexcept
{
    const int s = int(std::min(0.8 * area.height() / 2.0, area.width() / 7.0));
    const int r = int(std::min(1.25 * s, area.height() / 2.0));
    const int k = std::max(r / 5, kMinButtonSize);
    // Wheels held back by the height stand in the middle of the width, not at its left.
    PixelRect centered = area;
    centered.left += std::max(0, (area.width() - 7 * s) / 2);
    return Place(centered, s, r, k, k);
}

} // namespace corvane::tuner
