#pragma once

#include "KeyboardMap.h"
#include "ScalaScale.h"
#include "TemperamentCatalog.h"

#include <filesystem>
#include <optional>
#include <string>
#include <variant>

namespace corvane {

// A twelve-note Scala scale, with its keyboard map when there is one, as the program uses it: a
// named temperament (twelve degree offsets of the sounding key, as the catalog's) and, from the
// map, the reference that makes its reference note sound at its frequency.
//
// Of a keyboard map the program applies what a tuner of twelve notes to the octave can: the
// middle note (the pitch class the scale's 1/1 sits on: the offsets are turned so that the
// degrees of the sounding key get the notes of the scale that fall on them) and the reference
// note and frequency. The first and last note are read and not applied (a tuner names every
// note it hears). A map that lays the scale out otherwise than one scale degree per key in order
// (a map size other than 0 or 12, a key playing another degree, a formal octave other than the
// twelfth degree) is refused with the reason; keys marked "x" are let through.
struct ScalaTuning
{
    std::string name;    // the scale's description
    DegreeCents offsets; // by degree of the sounding key, each within +/-50 cents
    // The frequency of A4 (the program's reference) that puts the map's reference note at its
    // frequency in this tuning; empty without a map.
    std::optional<double> referenceHz;

    // `tonicPitchClass`: the A-based pitch class (0 = A, 3 = C) of the sounding key's tonic, which
    // degree 0 is counted from; without a map the scale's 1/1 sits on it, as for the catalog.
    static std::variant<ScalaTuning, std::string> of(const ScalaScale &scale,
                                                     const KeyboardMap *map, int tonicPitchClass);

    // Reads the scale file and, when `mapFile` is not empty, the map file, and makes the tuning
    // of them; else the reason, beginning with the file it is about ("werck.scl: line 4: ...").
    // A file over a megabyte is no scale and is not read. Allocates; any thread.
    static std::variant<ScalaTuning, std::string> read(const std::filesystem::path &scaleFile,
                                                       const std::filesystem::path &mapFile,
                                                       int tonicPitchClass);
};

} // namespace corvane
