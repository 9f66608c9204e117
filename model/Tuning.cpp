#include "Tuning.h"

#include "CPitch.h"
#include "KeyContext.h"

#include <cmath>

namespace corvane {

double TemperedFreq(const CPitch &pitch, const KeyContext &keys, const DegreeCents &cents,
                    int noteIndex) noexcept
{
    const double equal = pitch.NoteFreq(noteIndex);
    if (equal == 0.0)
        return 0.0;
    return CPitch::ApplyCents(equal, cents[keys.DegreeOfNote(noteIndex)]);
}

double Deviation(const CPitch &pitch, const KeyContext &keys, const DegreeCents &cents, double f,
                 int noteIndex) noexcept
{
    if (!(f > 0.0))
        return 0.0;
    return CPitch::Cents(f, TemperedFreq(pitch, keys, cents, noteIndex));
}

double DegreeToneFreq(const CPitch &pitch, const KeyContext &keys, const DegreeCents &cents,
                      int degree, int octaveShift) noexcept
{
    if (!IsDegree(degree) || octaveShift < -4 || octaveShift > 4)
        return 0.0;
    const double equal = pitch.NoteFreq(keys.DegreePitchClass(degree) + 12 * (4 + octaveShift));
    if (equal == 0.0)
        return 0.0;
    return CPitch::ApplyCents(equal, cents[degree]);
}

double DegreeClassFreq(const CPitch &pitch, const KeyContext &keys, int degree,
                       double adjustCents) noexcept
{
    if (!IsDegree(degree))
        return 0.0;
    return CPitch::ApplyCents(pitch.NoteClassFreq(keys.DegreePitchClass(degree)), adjustCents);
}

} // namespace corvane
