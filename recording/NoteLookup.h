#pragma once

#include <string>

namespace corvane {

// The note's name with its octave as spelled in C major ("A4", "Bb3", "F#5"); empty for an
// index outside 0..96.
std::string noteNameInCMajor(int index);

} // namespace corvane
