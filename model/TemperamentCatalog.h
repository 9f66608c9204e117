#pragma once

#include "CTCDefs.h"

#include <array>
#include <string>
#include <string_view>

namespace corvane {

// Offsets in cents from equal temperament, one per scale degree from "Do" to "Ti"; a positive
// offset raises the degree.
using DegreeCents = DegreeFloats;

// One historical temperament of the fixed catalog.
struct Temperament
{
    std::string_view name;
    DegreeCents cents;
};

constexpr int kTemperamentCount = 15;

// The name a temperament takes once the user has adjusted a single degree.
constexpr std::string_view kUserDefinedName = "User Defined";
constexpr std::string_view kEqualTemperamentName = "Equal Temperament";

// The catalog, rows 0..14 in the order the temperament list shows them. Pure data, safe from
// any thread.
const std::array<Temperament, kTemperamentCount> &TemperamentCatalog() noexcept;

// Movable-do syllable of a degree: "Do", "Ra", "Re" ... "Ti"; empty outside 0..11.
std::string_view DegreeSyllable(int degree) noexcept;

// Whole cents of an offset as the temperament dialogs show it, truncated toward zero. A value
// that is not a number shows as 0 and one beyond the int range as the nearest int, so a damaged
// settings file cannot make the conversion undefined.
int WholeCents(double cents) noexcept;

// The one-line display of a set of offsets: for each degree the syllable, "(", the whole cents
// and ")" followed by two blanks ("Do(0)  Ra(14)  Re(4)  ...").
std::string TemperamentLine(const DegreeCents &cents);

} // namespace corvane
