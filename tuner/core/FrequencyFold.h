#pragma once

namespace corvane {
class CPitch;
}

namespace corvane::tuner {

// The frequency `hz` halved until it falls into the lowest octave of the note table (note
// indices 0 ... 11, A0 up to G#1), where the wheels compare it with each degree's pitch. Octaves
// do not change cents, so the deviation found there is the deviation of the note played.
//
// 0.0 ("nothing heard") for 0, a negative value, infinity or NaN: halving those never reaches
// the lowest octave. Any thread that owns `pitch`; allocates nothing.
double foldIntoLowestOctave(const CPitch &pitch, double hz) noexcept;

} // namespace corvane::tuner
