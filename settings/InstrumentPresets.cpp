#include "InstrumentPresets.h"

#include <cmath>

namespace corvane {

namespace {

    // Equal-tempered frequencies at A4 = 440 Hz, as floats the defaults file keeps.
    constexpr float A0 = 27.5f, B0 = 30.8677f, E1 = 41.2034f, Bb1 = 58.2705f, C2 = 65.4064f,
                    D2 = 73.4162f, E2 = 82.4069f, C3 = 130.813f, D3 = 146.832f, G3 = 195.998f,
                    B3 = 246.942f, C5 = 523.251f, C6 = 1046.50f, E6 = 1318.51f, F6 = 1396.91f,
                    A6 = 1760.0f, C7 = 2093.0f, A7 = 3520.0f, C8 = 4186.009f;

    // The low instruments take the longer filter: their bands lie close together.
    constexpr std::array<InstrumentPreset, kInstrumentPresetCount> kPresets { {
            { "violin", "Violin", G3, A7, 3 },
            { "viola", "Viola", C3, A6, 3 },
            { "cello", "Cello", C2, C6, 3 },
            { "double-bass", "Double bass", B0, C5, 2 },
            { "guitar", "Guitar", D2, E6, 3 },
            { "bass-guitar", "Bass guitar", B0, C5, 2 },
            { "flute", "Flute / piccolo", B3, C8, 3 },
            { "clarinet", "Clarinet", D3, C7, 3 },
            { "oboe-bassoon", "Oboe / bassoon", Bb1, A6, 3 },
            { "brass", "Brass", E1, E6, 3 },
            { "voice", "Voice", E2, F6, 3 },
            { "piano", "Piano", A0, C8, 3 },
            { "full-range", "Full range", B0, C8, 3 },
    } };

    bool sameHz(float a, float b) noexcept
    {
        return std::fabs(a - b) < 0.01f;
    }

} // namespace

const std::array<InstrumentPreset, kInstrumentPresetCount> &instrumentPresets() noexcept
{
    return kPresets;
}

const InstrumentPreset *findInstrumentPreset(std::string_view id) noexcept
{
    for (const InstrumentPreset &preset : kPresets)
        if (preset.id == id)
            return &preset;
    return nullptr;
}

const InstrumentPreset *instrumentPresetMatching(float lowestHz, float highestHz,
                                                 std::uint32_t filterLengthCode,
                                                 std::string_view preferredId) noexcept
{
    const InstrumentPreset *first = nullptr;
    for (const InstrumentPreset &preset : kPresets) {
        if (!sameHz(preset.lowestHz, lowestHz) || !sameHz(preset.highestHz, highestHz)
            || preset.filterLengthCode != filterLengthCode)
            continue;
        if (!preferredId.empty() && preset.id == preferredId)
            return &preset;
        if (!first)
            first = &preset;
    }
    return first;
}

} // namespace corvane
