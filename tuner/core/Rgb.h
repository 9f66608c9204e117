#pragma once

#include <cstdint>

namespace corvane::tuner {

// A color as the tuner's pictures hold it: 8 bits each of red, green and blue.
struct Rgb
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    // The settings keep colors as 0x00BBGGRR, red in the low byte.
    static constexpr Rgb fromColorRef(std::uint32_t colorRef) noexcept
    {
        return { static_cast<std::uint8_t>(colorRef & 0xFF),
                 static_cast<std::uint8_t>((colorRef >> 8) & 0xFF),
                 static_cast<std::uint8_t>((colorRef >> 16) & 0xFF) };
    }
    constexpr std::uint32_t toColorRef() const noexcept
    {
        return std::uint32_t(red) | (std::uint32_t(green) << 8) | (std::uint32_t(blue) << 16);
    }
    static constexpr Rgb gray(std::uint8_t level) noexcept { return { level, level, level }; }

    friend constexpr bool operator==(const Rgb &, const Rgb &) = default;
};

} // namespace corvane::tuner
