#pragma once

#include <string>

namespace corvane {

// What the analysis asks of the note table (g_pitch) and the key tables: which note a frequency
// falls on, how far apart two frequencies lie in cents, and how a note is named in C major.

// Note index 0..96 of `hz` (0 = A0, 48 = A4); 0 for 0 Hz and anything below A0's band.
int noteIndexOf(double hz) noexcept;

// The interval from `ref` up to `f` in cents; 1200 when either is 0.
double centsBetween(double f, double ref) noexcept;

// The tempered frequency of note index 0..96, Hz.
double noteFrequencyOf(int index) noexcept;

// The note's name with its octave as spelled in C major ("A4", "Bb3", "F#5"); empty for an
// index outside 0..96.
std::string noteNameInCMajor(int index);

} // namespace corvane
