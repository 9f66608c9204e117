#pragma once

#include "TemperamentCatalog.h"

namespace corvane {

class CPitch;
class CTCDefs;
class KeyContext;

// The active tuning: the equal-tempered note table moved by the temperament's offset of each
// degree, the degrees counted from the tonic of the sounding key.
//
// These take the note table, key context and offsets explicitly, so they read no global state;
// all are safe on any thread that owns (or holds a copy of) its arguments. A degree outside
// 0..11 and a note outside the table give a frequency of 0.0 (no pitch).

// Tempered frequency in Hz of note index 0..96.
double TemperedFreq(const CPitch &pitch, const KeyContext &keys, const DegreeCents &cents,
                    int noteIndex) noexcept;

// Cents from the tempered pitch of the note up to f: positive when f lies above it. A frequency
// of 0 or below, or NaN, means no pitch and gives 0.
double Deviation(const CPitch &pitch, const KeyContext &keys, const DegreeCents &cents, double f,
                 int noteIndex) noexcept;

// Tempered frequency in Hz of a degree in the octave from a' up to g#'', moved by octaveShift
// octaves: the drone the synth plays for that degree (it shifts by -2..+2). A shift beyond
// -4..+4 gives 0.0, as does one that leaves the note table.
double DegreeToneFreq(const CPitch &pitch, const KeyContext &keys, const DegreeCents &cents,
                      int degree, int octaveShift) noexcept;

// The tempered frequency the Pitch Configuration dialog shows for a degree, in the octave from
// a' with a given adjustment in cents.
double DegreeClassFreq(const CPitch &pitch, const KeyContext &keys, int degree,
                       double adjustCents) noexcept;

// Changing the tuning, on the thread that owns the settings record and the note table (the
// user-interface thread in the program). The offsets and the temperament's name live in the
// settings record; the reference lives there and in the note table.

// Takes catalog row 0..14: its name and its 12 offsets. Any other row is refused.
bool SelectTemperament(CTCDefs &settings, int row) noexcept;
// Stores one degree's offset; with markUserDefined the temperament becomes "User Defined". A
// degree outside 0..11 is refused.
bool SetDegreeAdjustment(CTCDefs &settings, int degree, float cents, bool markUserDefined) noexcept;
// Moves the note table to a new frequency of a' and stores it in the settings. A reference
// CPitch::IsValidReference refuses changes nothing and returns false. The offsets stay as they
// are.
bool ChangeReference(CPitch &pitch, CTCDefs &settings, double hz) noexcept;

} // namespace corvane
