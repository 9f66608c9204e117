#pragma once

#include "CTCDefs.h" // kDegreeCount

#include <array>
#include <cstdint>
#include <string_view>

namespace corvane {

// The fixed tables of keys, scales, spelling and staff placement. Keys are indices 0..14 on the
// circle of fifths (0 Cb, 1 Gb ... 7 C ... 13 F#, 14 C#); degrees are chromatic steps 0..11
// above the tonic; clefs are 0 treble, 1 alto, 2 tenor, 3 bass; modes are 0 major, 1 natural
// minor, 2 harmonic minor, 3 melodic minor. Pitch classes count from A (0 = A, 3 = C).
//
// Every function is a pure lookup, safe from any thread, and never allocates. An argument out
// of its range gives the neutral answer (0, an empty text, no accidental) instead of reading
// outside a table.

constexpr int kKeyCount = 15;
constexpr int kKeyC = 7;
constexpr int kClefCount = 4;
constexpr int kModeCount = 4;
constexpr int kMaxSignatureCount = 7;

enum class Accidental { None, Flat, Sharp, Natural, DoubleFlat, DoubleSharp };

constexpr bool IsKeyIndex(int key) noexcept
{
    return key >= 0 && key < kKeyCount;
}
constexpr bool IsDegree(int degree) noexcept
{
    return degree >= 0 && degree < kDegreeCount;
}

// Tonic of a key as an A-based pitch class (Cb and B, Gb and F#, Db and C# share one).
int KeyTonic(int key) noexcept;

// Semitones from the written to the sounding pitch for a transposition key, before any octave
// (Bb -2: a written C sounds as the Bb below).
int TranspositionInterval(int transposeKey) noexcept;

// "C Major", "F Sharp Major" ...; "C Minor", "F Sharp Minor" ... (same tonic).
std::string_view MajorKeyName(int key) noexcept;
std::string_view MinorKeyName(int key) noexcept;

// How a degree is spelled in a written key ("F#", "Bbb").
std::string_view DegreeSpelling(int key, int degree) noexcept;

// Staff step of a degree whose tonic lies in the octave from middle C, counting letter names
// upward from C. Degree 6 is always placed as the raised fourth.
int DegreeStaffStep(int key, int degree) noexcept;

// The sign drawn beside a note of this degree in this written key; the key signature covers
// the degrees that take none.
Accidental DegreeAccidental(int key, int degree) noexcept;

// Per degree, 1 for a chromatic degree outside the mode's scale, 0 for a scale degree.
const std::array<uint8_t, kDegreeCount> &ScaleMask(int mode) noexcept;

// Number of sharps (keys 8..14) and flats (keys 0..6) in a key signature.
int SignatureSharpCount(int key) noexcept;
int SignatureFlatCount(int key) noexcept;

// Staff step, from the middle line up, of the k-th sharp (F#, C#, G#, D#, A#, E#, B#) or the
// k-th flat (Bb, Eb, Ab, Db, Gb, Cb, Fb) of a key signature in a clef; k 1..7.
int SignatureSharpStep(int clef, int k) noexcept;
int SignatureFlatStep(int clef, int k) noexcept;

} // namespace corvane
