#include "NoteLookup.h"

#include <cmath>

namespace corvane {

// Equal temperament on a' = 440 Hz with capture bands a quarter-tone below each note.
int noteIndexOf(double hz) noexcept
{
    if (!(hz > 0.0))
        return 0;
    const double steps = std::floor(12.0 * std::log2(hz / 27.5) + 0.5);
    if (steps < 0.0)
        return 0;
    if (steps > 96.0)
        return 96;
    return static_cast<int>(steps);
}

double centsBetween(double f, double ref) noexcept
{
    if (f == 0.0 || ref == 0.0 || std::isnan(f) || std::isnan(ref))
        return 1200.0;
    return std::log10(f / ref) * 3986.31371386;
}

double noteFrequencyOf(int index) noexcept
{
    return 27.5 * std::pow(2.0, index / 12.0);
}

std::string noteNameInCMajor(int index)
{
    static const char *const kNames[12] = { "A",  "Bb", "B", "C",  "Db", "D",
                                            "Eb", "E",  "F", "F#", "G",  "Ab" };
    if (index < 0 || index > 96)
        return {};
    // Octaves are counted from C.
    return kNames[index % 12] + std::to_string((index + 9) / 12);
}

} // namespace corvane
