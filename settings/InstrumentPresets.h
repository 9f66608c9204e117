#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace corvane {

// One choice in the Optimize dialog that sets the lowest and the highest note the analyzer
// listens for and its filter length to suit an instrument: the limits are the sounding range of
// the instrument (its lowest note, and the highest a player reaches), as equal-tempered
// frequencies at A4 = 440 Hz; the analyzer still takes a note played a quarter-tone flat of the
// lowest.
struct InstrumentPreset
{
    std::string_view id;   // kept in "tonrik.prefs" as instrument=<id>
    std::string_view name; // as the dialog and the tuner window show it
    float lowestHz = 0.0f;
    float highestHz = 0.0f;
    std::uint32_t filterLengthCode = 3; // 1 -> 151 taps, 2 -> 111, 3 -> 71
};

inline constexpr std::size_t kInstrumentPresetCount = 13;

// In the order the dialog lists them; the last is the factory range.
const std::array<InstrumentPreset, kInstrumentPresetCount> &instrumentPresets() noexcept;

// The preset with this id, or null.
const InstrumentPreset *findInstrumentPreset(std::string_view id) noexcept;

// The preset whose limits (within a hundredth of a hertz) and filter length these are, or null
// when the settings were set by hand. When two presets share them, the one named `preferredId`
// (the choice last made) wins, else the first.
const InstrumentPreset *instrumentPresetMatching(float lowestHz, float highestHz,
                                                 std::uint32_t filterLengthCode,
                                                 std::string_view preferredId = {}) noexcept;

// The factory limits: B0 (30.87 Hz) to C8 (4186.01 Hz), every note of the orchestra, the piano's
// lowest three keys apart, a bass guitar's low B included.
inline constexpr float kFactoryLowestNoteHz = 30.8677f;
inline constexpr float kFactoryHighestNoteHz = 4186.009f;

} // namespace corvane
