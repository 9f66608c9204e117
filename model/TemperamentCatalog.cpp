#include "TemperamentCatalog.h"

#include <climits>
#include <cmath>

namespace corvane {

namespace {

    constexpr std::array<Temperament, kTemperamentCount> kCatalog = { {
            { "Equal Temperament", { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 } },
            { "Pythagorean Tuning", { 0, 14, 4, -6, 8, -2, 12, 2, 16, 6, -4, 10 } },
            { "Natural Tuning", { 0, 12, 4, 16, -14, -2, 3, 2, 14, -16, 18, -12 } },
            { "1/3 comma Meantone", { 0, -37, -10, 16, -21, 5, -31, -5, -42, -16, 10, -26 } },
            { "2/7 comma Meantone", { 0, -29, -8, 13, -17, 4, -25, -4, -34, -13, 8, -21 } },
            { "1/4 comma Meantone", { 0, -24, -7, 10, -14, 3, -21, -3, -27, -10, 7, -17 } },
            { "1/5 comma Meantone", { 0, -16, -5, 7, -9, 2, -14, -2, -19, -7, 5, -12 } },
            { "1/6 comma Meantone", { 0, -11, -3, 5, -7, 2, -10, -2, -13, -5, 3, -8 } },
            { "1/8 comma Meantone", { 0, -5, -2, 2, -3, 1, -4, -1, -6, -2, 2, -4 } },
            // Carried as zeros, like equal temperament; users know the row by this name.
            { "1/11 comma Meantone", { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 } },
            { "Ordinaire", { 0, -13, -7, -4, -14, 3, -15, -3, -11, -10, 5, -17 } },
            { "Werckmeister III", { 0, -10, -8, -6, -10, -2, -12, -4, -8, -12, -4, -8 } },
            { "Kirnberger", { 0, -9, -8, -4, -13, -2, -9, -4, -8, -10, -4, -8 } },
            { "Kirnberger III", { 0, -10, -7, -6, -14, -2, -10, -3, -8, -10, -4, -12 } },
            { "Young", { 0, -6, -4, -2, -8, 2, -8, -2, -4, -6, 0, -10 } },
    } };

    constexpr std::array<std::string_view, 12> kSyllable = { "Do", "Ra", "Re", "Me", "Mi", "Fa",
                                                             "Se", "So", "Le", "La", "Te", "Ti" };

} // namespace

const std::array<Temperament, kTemperamentCount> &TemperamentCatalog() noexcept
{
    return kCatalog;
}

std::string_view DegreeSyllable(int degree) noexcept
{
    return degree >= 0 && degree < 12 ? kSyllable[degree] : std::string_view();
}

int WholeCents(double cents) noexcept
{
    if (std::isnan(cents))
        return 0;
    if (cents >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (cents <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(cents);
}

std::string TemperamentLine(const DegreeCents &cents)
{
    std::string line;
    for (int degree = 0; degree < 12; ++degree) {
        line += DegreeSyllable(degree);
        line += '(';
        line += std::to_string(WholeCents(cents[degree]));
        line += ")  ";
    }
    return line;
}

} // namespace corvane
