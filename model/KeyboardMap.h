#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace corvane {

// A keyboard map in the Scala format (".kbm"): which keys a scale is laid on and where its pitch
// is anchored. '!' lines are comments; the others hold, one value each (anything after the
// first word is a comment): the map size (0 for a linear map), the first and last MIDI note
// retuned, the middle note (the key scale degree 0 sits on), the reference note and its
// frequency in Hz, the scale degree taken as the formal octave, then one line per key of the
// map: the scale degree that key plays, or "x" for a key left silent.
//
// Plain value; parsing allocates.
struct KeyboardMap
{
    int mapSize = 0;
    int firstNote = 0;
    int lastNote = 127;
    int middleNote = 60;
    int referenceNote = 69;
    double referenceHz = 440.0;
    int octaveDegree = 12;
    std::vector<std::optional<int>> mapping; // mapSize entries; empty for "x"

    // The map, or the reason it is not one, naming the line ("line 6: "0" is not a frequency").
    static std::variant<KeyboardMap, std::string> parse(std::string_view text);
};

} // namespace corvane
