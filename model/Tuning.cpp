#include "Tuning.h"

#include "CPitch.h"
#include "CTCDefs.h"
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

bool SelectTemperament(CTCDefs &settings, int row) noexcept
{
    if (row < 0 || row >= kTemperamentCount)
        return false;
    const Temperament &chosen = TemperamentCatalog()[row];
    settings.SetTemperamentName(chosen.name);
    settings.SetPitchAdjustCents(chosen.cents);
    return true;
}

bool SetDegreeAdjustment(CTCDefs &settings, int degree, float cents, bool markUserDefined) noexcept
{
    if (!IsDegree(degree))
        return false;
    DegreeCents adjust = settings.GetPitchAdjustCents();
    adjust[degree] = cents;
    settings.SetPitchAdjustCents(adjust);
    if (markUserDefined)
        settings.SetTemperamentName(kUserDefinedName);
    return true;
}

bool ChangeReference(CPitch &pitch, CTCDefs &settings, double hz) noexcept
{
    if (!pitch.SetReference(hz))
        return false;
    settings.SetReferenceHz(static_cast<float>(hz));
    return true;
}

} // namespace corvane
