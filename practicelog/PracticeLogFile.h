#pragma once

#include "ActiveTimeCounter.h"
#include "LogRecord.h"
#include "RunClock.h"

#include <optional>
#include <string_view>

namespace corvane {

// The practice log lives in "corvlog.txt" in the current directory: one line per run,
// "start end active\n" as decimal integers, oldest first. User-interface thread only.
inline constexpr const char *kPracticeLogFileName = "corvlog.txt";

// The record of the run in progress: the clock's start, its current time, and the whole active
// seconds of the counter.
LogRecord CurrentRunRecord(const RunClock &clock, const ActiveTimeCounter &counter);

// Appends the current run's line, creating the file if needed. A last line left without its line
// feed (an earlier write cut short) is ended first, so the new line stands on its own. Returns
// false when the file cannot be opened or written; the caller exits anyway.
bool AppendPracticeLogLine(const RunClock &clock, const ActiveTimeCounter &counter);

// Replaces `log` with the file's runs, newest first, behind the current run. Lines of any length
// are read; a line that is not three integers (blanks around them allowed) is skipped. A missing
// or unreadable file gives the current run alone. Allocates.
void LoadPracticeLog(PracticeLog &log, const RunClock &clock, const ActiveTimeCounter &counter);

// Deletes the file. Returns false when there was none or it could not be deleted.
bool ClearPracticeLog();

// One line of the file, without its line feed: three decimal integers in the order start, end,
// active, each optionally preceded by blanks; blanks (and a carriage return) may follow.
std::optional<LogRecord> ParsePracticeLogLine(std::string_view line) noexcept;

} // namespace corvane
