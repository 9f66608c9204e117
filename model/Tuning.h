#pragma once

#include "TemperamentCatalogue.h"

namespace corvane {

class CPitch;
class KeyContext;

// The active tuning: the equal-tempered note table moved by the temperament's offset of each
// degree, the degrees counted from the tonic of the sounding key.
//
// These take the note table, key context and offsets explicitly, so they read no global state;
// all are safe on any thread as long as their arguments are not being changed. A degree outside
// 0..11 and a note outside the table give a frequency of 0.0 (no pitch).

// Tempered frequency in Hz of note index 0..96.
double TemperedFreq(const CPitch &pitch, const KeyContext &keys, const DegreeCents &cents,
                    int noteIndex) noexcept;

// Cents from the tempered pitch of the note up to f: positive when f lies above it. A frequency
// of 0 or below, or NaN, means no pitch and gives 0.
double Deviation(const CPitch &pitch, const KeyContext &keys, const DegreeCents &cents, double f,
                 int noteIndex) noexcept;

// Tempered frequency in Hz of a degree in the octave from a' up to g#'', moved by octaveShift
// octaves (-2..+2): the drone the synth plays for that degree.
double DegreeToneFreq(const CPitch &pitch, const KeyContext &keys, const DegreeCents &cents,
                      int degree, int octaveShift) noexcept;

// The tempered frequency the Pitch Configuration dialog shows for a degree, in the octave from
// a' with a given adjustment in cents.
double DegreeClassFreq(const CPitch &pitch, const KeyContext &keys, int degree,
                       double adjustCents) noexcept;

} // namespace corvane
