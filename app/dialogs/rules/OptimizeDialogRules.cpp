#include "OptimizeDialogRules.h"

#include "CPitch.h"
#include "KeyTables.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace corvane {

std::string PreferencesNotSavedText(std::string_view cause)
{
    return "The pitch analysis mode, the results, the display and the instrument could not be "
           "saved, so the tuner keeps those it had. The other settings were stored.\n"
            + std::string(cause);
}

const InstrumentPreset *ShownInstrument(float firstHz, float secondHz,
                                        std::uint32_t filterLengthCode,
                                        std::string_view chosenId) noexcept
{
    const NoteSpan span = OrderedSpan(firstHz, secondHz);
    return instrumentPresetMatching(span.lowestHz, span.highestHz, filterLengthCode, chosenId);
}

std::vector<std::string> InstrumentListTexts(const InstrumentPreset *shown)
{
    std::vector<std::string> texts;
    for (const InstrumentPreset &preset : instrumentPresets())
        texts.emplace_back(preset.name);
    if (!shown)
        texts.emplace_back(kCustomInstrumentText);
    return texts;
}

std::size_t InstrumentListIndex(const InstrumentPreset *shown) noexcept
{
    return shown ? std::size_t(shown - instrumentPresets().data()) : kCustomInstrumentIndex;
}

const InstrumentPreset *InstrumentAtListIndex(std::size_t index) noexcept
{
    return index < kInstrumentPresetCount ? &instrumentPresets()[index] : nullptr;
}

namespace {

    constexpr std::array<NoteRange, kClefCount> kDrawable = { {
            { 31, 68 }, // treble
            { 20, 58 }, // alto
            { 17, 55 }, // tenor
            { 10, 48 }, // bass
    } };
    constexpr std::array<int, kClefCount> kMiddleLine = { 6, 0, -2, -6 };

    // The five lines sit at steps -4, -2, 0, 2, 4; ledger lines continue every two steps.
    int LedgerLines(int stepsBeyond) noexcept
    {
        return stepsBeyond <= 4 ? 0 : std::min(3, (stepsBeyond - 4) / 2);
    }

    int ValidClef(int clef) noexcept
    {
        return clef >= 0 && clef < kClefCount ? clef : 0;
    }

} // namespace

NoteRange ClefDrawableRange(int clef) noexcept
{
    return kDrawable[std::size_t(ValidClef(clef))];
}

int ClefMiddleLineStep(int clef) noexcept
{
    return kMiddleLine[std::size_t(ValidClef(clef))];
}

NoteFramePicture LayoutNoteFrame(const CPitch &pitch, int clef, int noteIndex)
{
    const NoteRange range = ClefDrawableRange(clef);
    NoteFramePicture picture;
    int index = std::clamp(noteIndex, kLowestNoteIndex, kHighestNoteIndex);
    while (index > range.high) {
        index -= 12;
        ++picture.octaves;
    }
    while (index < range.low) {
        index += 12;
        --picture.octaves;
    }
    picture.drawnIndex = index;
    picture.step = pitch.StaffPosition(index) - ClefMiddleLineStep(clef);
    picture.sharp = pitch.IsSharp(index);
    picture.ledgersAbove = LedgerLines(picture.step);
    picture.ledgersBelow = LedgerLines(-picture.step);
    if (picture.octaves != 0) {
        char text[16];
        std::snprintf(text, sizeof text, picture.octaves > 0 ? "+%d oct" : "%d oct",
                      picture.octaves);
        picture.label = text;
    }
    return picture;
}

NoteSpan OrderedSpan(float firstHz, float secondHz) noexcept
{
    return { std::min(firstHz, secondHz), std::max(firstHz, secondHz) };
}

} // namespace corvane
