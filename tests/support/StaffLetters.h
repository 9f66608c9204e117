#pragma once

#include "KeyTables.h"

#include <string_view>

// Letter names and alterations the spelling and staff tests check against, written out
// independently of the model's own tables.
namespace corvane::testing {

// Letter of a staff step counted from C, and the A-based pitch class of each letter.
constexpr char kLetters[] = "CDEFGAB";
inline int NaturalPitchClass(char letter)
{
    return static_cast<int>(std::string_view("A-BC-D-EF-G").find(letter));
}

inline int Mod(int value, int m)
{
    return ((value % m) + m) % m;
}

inline int Alteration(Accidental a)
{
    constexpr int kAlteration[] = { 0, -1, 1, 0, -2, 2 }; // None, Flat, Sharp, Natural, bb, x
    return kAlteration[static_cast<int>(a)];
}

} // namespace corvane::testing
