#pragma once

#include "LogRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace corvane {

// The practice statistics as the lines the printed log shows. Each takes the log (PracticeLog; the
// summaries sum each run into its day in any order) and `runStart`, the run clock's start: "today"
// is the local day on which this run began. Days are local calendar days of a run's start, so a run
// across midnight belongs wholly to the day it began. Times show as hours:minutes:seconds (hours
// may take more than two digits); ratios are active × 100 ÷ elapsed, truncated, and 0 where nothing
// elapsed. Pure functions of their arguments and the time zone; they allocate their strings.

// "Tuner Active: 00:00:00   Elapsed: 00:00:00   Ratio  0%" over today's runs.
std::string TodayStatisticsLine(const PracticeLog &log, std::int64_t runStart);

struct SevenDayStatistics
{
    // Days recorded, days missed, average active and elapsed per recorded day, the ratio.
    std::array<std::string, 5> lines;
    // Today first, then each day before it, each labeled with its weekday.
    std::array<std::string, 7> rows;
};
inline constexpr const char *kSevenDayHeading = "Day         Active     Elapsed    Ratio";
inline constexpr const char *kSevenDayRule = "---------------------------------------";

// Today and the six days before it. A day counts as recorded once its runs add up to a second.
SevenDayStatistics SevenDayStatisticsLines(const PracticeLog &log, std::int64_t runStart);

// Days (each local day with a run counted once, today's counting even when empty), average
// active and elapsed per day, the cumulative ratio.
std::array<std::string, 4> CompleteStatisticsLines(const PracticeLog &log, std::int64_t runStart);

// "Thu May 16 09:00:00 2024    Active: 01:00:00  Elapsed: 03:05:07  Ratio 32%".
std::string RunLine(const LogRecord &record);

// The earliest start a listing shows, from the present time `now`: local midnight of today, of
// seven days before today, or of today's month and day in the year 2000.
std::int64_t TodayCutoff(std::int64_t now) noexcept;
std::int64_t SevenDayCutoff(std::int64_t now) noexcept;
std::int64_t CompleteCutoff(std::int64_t now) noexcept;

// The runs a listing shows: from the front of the log (newest first, as LoadPracticeLog sorts it)
// while they start at or after `cutoff`.
std::size_t CountRunsSince(const PracticeLog &log, std::int64_t cutoff) noexcept;

} // namespace corvane
