#pragma once

#include "FileSteps.h"
#include "PreferencesFile.h"

#include <filesystem>
#include <string>

namespace corvane {

// The analyzer's preferences that the 380-byte defaults file "tonrik.def" has no field for, kept
// beside it in "tonrik.prefs" (PreferencesFile), so that the defaults file keeps its layout byte
// for byte. Its keys, each a choice the Optimize dialog offers:
// - pitch_mode=refined|classic: the refined analysis or the band decision alone;
// - hop=quarter|block: a result every hop (a quarter block or less, at most 25 ms) or one per
//   block, the older layout of the recording analysis and its rows;
// - display=smooth|classic: the tuner's wheels and readout take every result as it comes (at most
//   60 a second), or update five times a second as they used to;
// - instrument=<id>: the instrument preset last chosen (InstrumentPresets), empty for none.
//
// Plain values; load and save do their own file I/O on the calling thread.
struct AnalyzerPreferences
{
    static constexpr const char *kFileName = PreferencesFile::kFileName;

    bool classic = false;        // the band decision alone (PitchAnalyzer::Mode::Classic)
    bool blockHop = false;       // one result per block instead of one per hop
    bool classicDisplay = false; // the tuner's display updates five times a second
    std::string instrument;      // the preset last chosen; empty for none

    // The preferences in `path`. A missing or unreadable file, an unknown key or an unknown value
    // leaves the default of what it concerns: a damaged line loses nothing else.
    static AnalyzerPreferences load(const std::filesystem::path &path = kFileName);

    // Writes the whole file, whole or not at all; on failure the old file is left as it was and
    // the result holds the message naming the file and the cause. Lines of other keys are kept.
    struct Saved
    {
        std::string error; // empty on success
        explicit operator bool() const noexcept { return error.empty(); }
    };
    Saved save(const std::filesystem::path &path = kFileName, const FileFault &fault = {}) const;
};

} // namespace corvane
