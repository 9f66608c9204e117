#pragma once

#include <filesystem>

namespace corvane {

// The analyzer's preferences that the 380-byte defaults file "tonrik.def" has no field for, kept
// beside it in a small text file of key=value lines ("tonrik.prefs"), so that the defaults file
// keeps its layout byte for byte. Today one key: pitch_mode=refined|classic, the choice the
// Optimize dialog offers between the refined analysis and the band decision alone.
//
// Plain values; load and save do their own file I/O on the calling thread.
struct AnalyzerPreferences
{
    static constexpr const char *kFileName = "tonrik.prefs";

    bool classic = false; // the band decision alone (PitchAnalyzer::Mode::Classic)

    // The preferences in `path`. A missing or unreadable file, an unknown key or an unknown value
    // leaves the default of what it concerns: a damaged line loses nothing else.
    static AnalyzerPreferences load(const std::filesystem::path &path = kFileName);

    // Writes the whole file through a temporary one that replaces it only once complete; false
    // when that failed, and the old file is left as it was. Lines of keys this build does not
    // know are kept, so a newer build's preferences survive a save by an older one.
    bool save(const std::filesystem::path &path = kFileName) const;
};

} // namespace corvane
