#pragma once

namespace corvane::tuner {

// A rectangle in whole pixels, edges as the window system counts them: `right` and `bottom` lie
// one past the last pixel, so the width is right - left.
struct PixelRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int width() const noexcept { return right - left; }
    constexpr int height() const noexcept { return bottom - top; }
    // The rectangle moved inwards by `d` pixels on every side.
    constexpr PixelRect shrunk(int d) const noexcept
    {
        return { left + d, top + d, right - d, bottom - d };
    }
    constexpr bool intersects(const PixelRect &o) const noexcept
    {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }

    friend constexpr bool operator==(const PixelRect &, const PixelRect &) = default;
};

} // namespace corvane::tuner
