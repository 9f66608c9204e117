#include "ScalaTuning.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

namespace corvane {

namespace {

    constexpr int kMidiA4 = 69;

    int pitchClass(int value) noexcept
    {
        return ((value % 12) + 12) % 12;
    }

    // A scale or a map is a few lines; anything the size of a recording is not one.
    constexpr std::uintmax_t kMaxFileBytes = 1 << 20;

    // The file's text, or why it cannot be read.
    std::variant<std::string, std::string> readText(const std::filesystem::path &path)
    {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(path, error);
        if (!error && size > kMaxFileBytes)
            return std::variant<std::string, std::string>(std::in_place_index<1>,
                                                          "too large for a Scala file");
        std::ifstream in(path, std::ios::binary);
        if (!in || std::filesystem::is_directory(path, error)) {
            const std::string cause = errno != 0 ? std::strerror(errno) : "cannot be read";
            return std::variant<std::string, std::string>(std::in_place_index<1>, cause);
        }
        std::ostringstream text;
        text << in.rdbuf();
        return std::variant<std::string, std::string>(std::in_place_index<0>, text.str());
    }

    // Why the map cannot lay this scale on the keys as the twelve wheels need; empty when it can.
    std::string refusal(const KeyboardMap &map)
    {
        if (map.mapSize != 0 && map.mapSize != 12)
            return "the keyboard map has " + std::to_string(map.mapSize)
                    + " keys to the octave; the wheels take 12 (or 0, one degree per key)";
        if (map.octaveDegree != 12 && !(map.mapSize == 0 && map.octaveDegree == 0))
            return "the keyboard map takes degree " + std::to_string(map.octaveDegree)
                    + " as the octave; the wheels take a scale repeating at its 12th degree";
        for (std::size_t key = 0; key < map.mapping.size(); ++key) {
            if (map.mapping[key] && *map.mapping[key] != static_cast<int>(key))
                return "the keyboard map's key " + std::to_string(key) + " plays degree "
                        + std::to_string(*map.mapping[key])
                        + "; the wheels take each key playing its own degree";
        }
        return {};
    }

} // namespace

std::variant<ScalaTuning, std::string> ScalaTuning::of(const ScalaScale &scale,
                                                       const KeyboardMap *map, int tonicPitchClass)
{
    const auto fitted = scale.degreeOffsets();
    if (const auto *why = std::get_if<std::string>(&fitted))
        return *why;
    const DegreeCents &steps = std::get<DegreeCents>(fitted);
    ScalaTuning tuning;
    tuning.name = scale.description;
    tuning.offsets = steps;
    if (!map)
        return tuning;
    if (std::string why = refusal(*map); !why.empty())
        return why;

    // The scale's step k sits k semitones above the middle note's pitch class.
    const int middle = pitchClass(map->middleNote - kMidiA4);
    for (int degree = 0; degree < 12; ++degree) {
        const int step = pitchClass(tonicPitchClass + degree - middle);
        tuning.offsets[std::size_t(degree)] = steps[std::size_t(step)];
    }
    const int referenceStep = pitchClass(map->referenceNote - map->middleNote);
    const double semitones =
            map->referenceNote - kMidiA4 + steps[std::size_t(referenceStep)] / 100.0;
    tuning.referenceHz = map->referenceHz / std::exp2(semitones / 12.0);
    return tuning;
}

std::variant<ScalaTuning, std::string> ScalaTuning::read(const std::filesystem::path &scaleFile,
                                                         const std::filesystem::path &mapFile,
                                                         int tonicPitchClass)
{
    const auto about = [](const std::filesystem::path &file, const std::string &why) {
        return file.string() + ": " + why;
    };
    errno = 0;
    const auto scaleText = readText(scaleFile);
    if (scaleText.index() == 1)
        return about(scaleFile, std::get<1>(scaleText));
    const auto scale = ScalaScale::parse(std::get<0>(scaleText));
    if (const auto *why = std::get_if<std::string>(&scale))
        return about(scaleFile, *why);
    if (const auto fitted = std::get<ScalaScale>(scale).degreeOffsets();
        std::holds_alternative<std::string>(fitted))
        return about(scaleFile, std::get<std::string>(fitted));
    std::optional<KeyboardMap> map;
    if (!mapFile.empty()) {
        errno = 0;
        const auto mapText = readText(mapFile);
        if (mapText.index() == 1)
            return about(mapFile, std::get<1>(mapText));
        auto parsed = KeyboardMap::parse(std::get<0>(mapText));
        if (const auto *why = std::get_if<std::string>(&parsed))
            return about(mapFile, *why);
        map = std::get<KeyboardMap>(std::move(parsed));
    }
    auto tuning = of(std::get<ScalaScale>(scale), map ? &*map : nullptr, tonicPitchClass);
    if (const auto *why = std::get_if<std::string>(&tuning))
        return about(mapFile, *why);
    return tuning;
}

} // namespace corvane
