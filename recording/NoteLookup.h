#pragma once

#include <string>

namespace corvane {

// The note's name with its octave as spelled in C major ("A4", "Bb3", "F#5"). Index 0 is A0;
// indices beyond the table (CPitch::NearestNote) carry on with octave numbers below 0 and
// above 8 ("G#0" for -1, "C9" for 99, "B-1" for -10).
std::string noteNameInCMajor(int index);

// The degree of a note index counted from C (0 = C ... 11 = B), below A0 too.
int degreeFromC(int index) noexcept;
// The degree's name as spelled in C major ("C", "C#", "Bb").
std::string degreeNameInCMajor(int degree);

} // namespace corvane
