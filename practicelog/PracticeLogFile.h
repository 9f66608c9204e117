#pragma once

#include "ActiveTimeCounter.h"
#include "FileSteps.h"
#include "IntonationLogRecord.h"
#include "LogRecord.h"
#include "RunClock.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The practice log lives in "corvlog.txt" (in the data folder the program chose, the current
// directory by default; every function takes its path last): one line per run,
// "start end active\n" as decimal integers, oldest first, each followed by the lines of how in
// tune the run's notes were played (IntonationLogRecord). User-interface thread only.
inline constexpr const char *kPracticeLogFileName = "corvlog.txt";

// The record of the run in progress: the clock's start, its current time, and the whole active
// seconds of the counter.
LogRecord CurrentRunRecord(const RunClock &clock, const ActiveTimeCounter &counter);

// Appends the current run's line, creating the file if needed, in one write (see
// appendWholeLine): a kill leaves the whole line or none of it, and two copies of the program
// never interleave theirs. A last line left without its line feed (by another writer) is ended
// first, so the new line stands on its own. Returns the message naming the file and the cause,
// empty on success; the caller exits anyway. `fault` lets tests fail any step.
std::string AppendPracticeLogLine(const RunClock &clock, const ActiveTimeCounter &counter,
                                  const FileFault &fault = {},
                                  const std::filesystem::path &path = kPracticeLogFileName);

// Replaces `log` with the current run followed by the file's runs, newest first by their start
// whatever the order of the lines (two copies of the program in one folder append in the order
// they end). Lines of any length are read, one by one; a line that is not a plausible run
// (IsPlausibleRun) is skipped and counted, a blank one skipped. A missing or unreadable file
// gives the current run alone. Returns the number of damaged lines skipped. The intonation lines
// are no runs and never damaged; they go to `intonation`, when given, in the order of the file.
// Allocates.
std::size_t LoadPracticeLog(PracticeLog &log, const RunClock &clock,
                            const ActiveTimeCounter &counter, IntonationLog *intonation = nullptr,
                            const std::filesystem::path &path = kPracticeLogFileName);

// Appends the lines of how in tune each note was played during the run that started at
// `runStart` (figures by pitch class, 0 = C), one whole line per write as the run's own line; a
// note not heard gets none. Returns the first failure's message, empty on success.
std::string AppendIntonationLogLines(std::int64_t runStart,
                                     const IntonationStatistics &byPitchClass,
                                     const FileFault &fault = {},
                                     const std::filesystem::path &path = kPracticeLogFileName);

// "1 damaged line was skipped", "2 damaged lines were skipped"; empty for 0.
std::string DamagedLinesText(std::size_t count);

// A run the program could have written: it starts no earlier than 1970 and ends no later than
// the year 9999, lasts no longer than a year, and was active no longer than it lasted (give or
// take the drift between the sound card's clock, which counts active time, and the system's).
bool IsPlausibleRun(const LogRecord &record) noexcept;

// Deletes the file. Returns false when there was none or it could not be deleted.
bool ClearPracticeLog(const std::filesystem::path &path = kPracticeLogFileName);

// One line of the file, without its line feed: three decimal integers in the order start, end,
// active, each optionally preceded by blanks; blanks (and a carriage return) may follow.
std::optional<LogRecord> ParsePracticeLogLine(std::string_view line) noexcept;

} // namespace corvane
