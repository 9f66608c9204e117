#pragma once

#include "IntonationStatistics.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// How in tune one note (a pitch class as it sounded, 0 = C up to 11 = B) was played during one
// run: a line of the practice log written beside the run's own line.
//
// The line begins like a run of no length that started when the run did, "start start 0", and
// goes on with the note's name and its figures:
//
//     1765123456 1765123456 0 F# 42 81 32 25
//
// count, mean and spread in tenths of a cent (mean positive = sharp), and how many readings lay in
// the in-tune zone. A reader of the plain three-number lines thus takes it for an empty run on the
// run's own day, which adds nothing to any day, and the line is never longer than 49 characters,
// so that a reader with a short line buffer does not stop on it. A reader that knows the three
// numbers must end the line (LoadPracticeLog before it knew this kind) skips it as damaged.
struct IntonationLogRecord
{
    std::int64_t runStart = 0;
    int pitchClass = 0;
    // Counts as written (at most 99999 readings, the in-tune count scaled with it); mean and
    // spread to a tenth of a cent.
    IntonationFigures figures;
};

// All the intonation lines of a log, in the order of the file.
using IntonationLog = std::vector<IntonationLogRecord>;

// The longest line either kind of the log's lines may take, line feed not counted.
inline constexpr std::size_t kLongestLogLine = 49;

// "C", "Db", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B": the note names of the log and of
// `--summary`, as spelled in C major. `pitchClass` is taken modulo 12.
std::string_view PitchClassName(int pitchClass) noexcept;

// The line for one note of a run, without its line feed; empty when the note was not heard.
// Allocates.
std::string FormatIntonationLogLine(const IntonationLogRecord &record);

// One line of the file without its line feed; nothing when it is not an intonation line the
// writer could have written.
std::optional<IntonationLogRecord> ParseIntonationLogLine(std::string_view line) noexcept;

// The figures of a run by pitch class (0 = C), as lines for the log: one for each note heard.
std::vector<std::string> IntonationLogLines(std::int64_t runStart,
                                            const IntonationStatistics &byPitchClass);

} // namespace corvane
