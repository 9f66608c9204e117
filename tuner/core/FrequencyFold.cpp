#include "FrequencyFold.h"

#include "CPitch.h"

#include <cmath>

namespace corvane::tuner {

double foldIntoLowestOctave(const CPitch &pitch, double hz) noexcept
{
    if (!std::isfinite(hz) || hz <= 0.0)
        return 0.0;
    // A finite double is at most 2^1024, so this ends after about a thousand halvings.
    while (pitch.NoteIndex(hz) >= 12)
        hz *= 0.5;
    return hz;
}

} // namespace corvane::tuner
