#include "KeyboardMap.h"

#include <array>
#include <charconv>
#include <cmath>
#include <sstream>

namespace corvane {

namespace {

    std::string_view firstWord(std::string_view line)
    {
        const auto first = line.find_first_not_of(" \t\r");
        if (first == std::string_view::npos)
            return {};
        line.remove_prefix(first);
        return line.substr(0, line.find_first_of(" \t\r"));
    }

    template<typename T>
    bool whole(std::string_view word, T &value)
    {
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        return error == std::errc() && end == word.data() + word.size();
    }

    std::string lineError(int line, std::string_view word, std::string_view what)
    {
        std::string text = "line ";
        text.append(std::to_string(line)).append(": \"").append(word).append("\" ").append(what);
        return text;
    }

    constexpr int kMidiNotes = 128;
    // The header's seven values, in their order, and what each must be.
    constexpr std::array<std::string_view, 7> kHeader {
        "is not the map size (0 to 128)",        "is not the first MIDI note (0 to 127)",
        "is not the last MIDI note (0 to 127)",  "is not the middle note (0 to 127)",
        "is not the reference note (0 to 127)",  "is not a frequency in Hz above 0",
        "is not the scale degree of the octave",
    };

} // namespace

std::variant<KeyboardMap, std::string> KeyboardMap::parse(std::string_view text)
{
    KeyboardMap map;
    std::istringstream in { std::string(text) };
    std::string line;
    int number = 0;
    std::size_t field = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line[0] == '!')
            continue;
        const std::string_view word = firstWord(line);
        if (field < kHeader.size()) {
            bool good = false;
            int *const integers[] = { &map.mapSize,     &map.firstNote,     &map.lastNote,
                                      &map.middleNote,  &map.referenceNote, nullptr,
                                      &map.octaveDegree };
            if (field == 5) {
                good = whole(word, map.referenceHz) && std::isfinite(map.referenceHz)
                        && map.referenceHz > 0.0;
            } else {
                int &value = *integers[field];
                good = whole(word, value);
                if (field == 0)
                    good = good && value >= 0 && value <= kMidiNotes;
                else if (field < 5)
                    good = good && value >= 0 && value < kMidiNotes;
                else
                    good = good && value >= 0 && value <= 1024;
            }
            if (!good)
                return lineError(number, word, kHeader[field]);
            ++field;
        } else if (static_cast<int>(map.mapping.size()) < map.mapSize) {
            int degree = 0;
            if (word == "x" || word == "X")
                map.mapping.emplace_back();
            else if (whole(word, degree) && degree >= 0 && degree <= 1024)
                map.mapping.emplace_back(degree);
            else
                return lineError(number, word, "is neither a scale degree nor \"x\"");
        }
    }
    if (field < kHeader.size()) {
        std::string text = "line ";
        text.append(std::to_string(number + 1))
                .append(": the file ends where ")
                .append(kHeader[field].substr(7)) // "the map size (0 to 128)", ...
                .append(" should be");
        return text;
    }
    if (static_cast<int>(map.mapping.size()) < map.mapSize) {
        return "line " + std::to_string(number + 1) + ": the file ends after "
                + std::to_string(map.mapping.size()) + " of the " + std::to_string(map.mapSize)
                + " keys of the map";
    }
    return map;
}

} // namespace corvane
