#pragma once

#include "InstrumentPresets.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class CPitch;

// What the "Optimize Tuner Settings" dialog shows and stores, apart from its widgets. Safe from
// any thread; the note table is passed in.

constexpr std::string_view kOptimizeDialogTitle = "Optimize Tuner Settings";
constexpr std::string_view kConcertPitchNote = "[Note ranges are displayed in concert pitch.]";

// The pitch analysis mode, how often a result comes and how the tuner shows it, kept in
// "tonrik.prefs" (AnalyzerPreferences) rather than in the defaults file, whose layout stays as
// it is.
constexpr std::string_view kAnalysisModeTitle = "Pitch Analysis";
constexpr std::string_view kRefinedModeText = "Refined (more exact)";
constexpr std::string_view kClassicModeText = "Classic (octave bands only)";
constexpr std::string_view kResultsTitle = "Results";
constexpr std::string_view kHopResultsText = "Every 23 ms (one per hop)";
constexpr std::string_view kBlockResultsText = "One per block (classic)";
constexpr std::string_view kDisplayTitle = "Tuner Display";
constexpr std::string_view kClassicDisplayText = "Classic display (five updates a second)";
// Said once when "tonrik.prefs" cannot take the choices kept in it; `cause` is the file layer's
// message, which names the file and the reason ("Cannot write "/x/tonrik.prefs": Permission
// denied").
std::string PreferencesNotSavedText(std::string_view cause);

// The instrument list: every preset by name in the order of instrumentPresets(), then "Custom"
// while the limits and the filter length match none of them, so that a preset's entry keeps its
// index whether "Custom" is there or not.
constexpr std::string_view kInstrumentTitle = "Instrument";
constexpr std::string_view kCustomInstrumentText = "Custom";
constexpr std::size_t kCustomInstrumentIndex = kInstrumentPresetCount;

// The preset the dialog's limits (Hz, in either order) and filter length code are, the one
// chosen last (`chosenId`) winning when two presets share them; null when they were set by hand.
const InstrumentPreset *ShownInstrument(float firstHz, float secondHz,
                                        std::uint32_t filterLengthCode,
                                        std::string_view chosenId) noexcept;

// The entries of the list for what ShownInstrument gave, and the index of the one to show.
std::vector<std::string> InstrumentListTexts(const InstrumentPreset *shown);
std::size_t InstrumentListIndex(const InstrumentPreset *shown) noexcept;

// The preset of a list entry; null for "Custom" and any index past the presets.
const InstrumentPreset *InstrumentAtListIndex(std::size_t index) noexcept;

constexpr int kLowestNoteIndex = 0;   // A0
constexpr int kHighestNoteIndex = 96; // A8

// The note spin controls stay within A0..A8: a step outside is refused.
constexpr bool NoteStepAllowed(int newIndex) noexcept
{
    return newIndex >= kLowestNoteIndex && newIndex <= kHighestNoteIndex;
}

// The note indices each clef draws on its staff with at most three ledger lines either side.
struct NoteRange
{
    int low;
    int high;
};
NoteRange ClefDrawableRange(int clef) noexcept;

// Staff step of the middle line of a clef, counted in letter names from middle C (treble B4,
// alto C4, tenor A3, bass D3).
int ClefMiddleLineStep(int clef) noexcept;

// One note frame: where the note head goes and what goes with it.
struct NoteFramePicture
{
    int drawnIndex = 0;   // the note moved by whole octaves into the clef's range
    int octaves = 0;      // how far it was moved down (> 0) or up (< 0)
    int step = 0;         // staff steps from the middle line, up
    bool sharp = false;   // a sharp sign before the head
    int ledgersAbove = 0; // 0..3
    int ledgersBelow = 0; // 0..3
    std::string label;    // "+%d oct", "%d oct", or empty
};
// Lays out a note index (0..96, clamped) in a clef (0..3; others draw as treble).
NoteFramePicture LayoutNoteFrame(const CPitch &pitch, int clef, int noteIndex);

// The pair of notes the dialog stores: ascending, so that a range picked the wrong way round
// still means the notes between them.
struct NoteSpan
{
    float lowestHz;
    float highestHz;
};
NoteSpan OrderedSpan(float firstHz, float secondHz) noexcept;

} // namespace corvane
