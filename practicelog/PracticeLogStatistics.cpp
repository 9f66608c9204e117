#include "PracticeLogStatistics.h"

#include "LocalCalendar.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <optional>
#include <vector>

namespace corvane {

namespace {

    using Day = std::optional<LocalCalendar::Day>;

    // A record with no local day (a date beyond the library's range) matches no day.
    bool sameDay(const Day &a, const Day &b) noexcept
    {
        return a && b && *a == *b;
    }

    __attribute__((format(printf, 1, 2))) std::string format(const char *pattern, ...)
    {
        char text[256];
        va_list args;
        va_start(args, pattern);
        std::vsnprintf(text, sizeof text, pattern, args);
        va_end(args);
        return text;
    }

    struct Clock
    {
        long long hours, minutes, seconds;
    };

    Clock clockOf(std::int64_t s) noexcept
    {
        return { s / 3600, (s % 3600) / 60, s % 60 };
    }

    long long ratio(std::int64_t active, std::int64_t elapsed) noexcept
    {
        if (elapsed == 0)
            return 0;
        std::int64_t scaled;
        if (!__builtin_mul_overflow(active, std::int64_t { 100 }, &scaled))
            return scaled / elapsed; // never the one overflowing quotient: INT64_MIN is no multiple
                                     // of 100
        const long double exact = static_cast<long double>(active) * 100.0L / elapsed;
        constexpr long double limit = 9.2e18L;
        return static_cast<long long>(exact > limit ? limit : exact < -limit ? -limit : exact);
    }

    std::int64_t average(std::int64_t total, std::int64_t days) noexcept
    {
        return days > 0 ? total / days : 0;
    }

    struct Totals
    {
        std::int64_t elapsed = 0;
        std::int64_t active = 0;

        void add(const LogRecord &record) noexcept
        {
            elapsed = saturatingAdd(elapsed, record.elapsed());
            active = saturatingAdd(active, record.active);
        }
    };

    std::string averageLine(const char *label, std::int64_t seconds)
    {
        const Clock c = clockOf(seconds);
        return format("%s%02lld:%02lld:%02lld", label, c.hours, c.minutes, c.seconds);
    }

} // namespace

std::string TodayStatisticsLine(const PracticeLog &log, std::int64_t runStart)
{
    const Day today = LocalCalendar::dayOf(runStart);
    Totals totals;
    for (const LogRecord &record : log) {
        if (sameDay(LocalCalendar::dayOf(record.start), today))
            totals.add(record);
    }
    const Clock a = clockOf(totals.active);
    const Clock e = clockOf(totals.elapsed);
    return format(
            "Tuner Active: %02lld:%02lld:%02lld   Elapsed: %02lld:%02lld:%02lld   Ratio %2lld%%",
            a.hours, a.minutes, a.seconds, e.hours, e.minutes, e.seconds,
            ratio(totals.active, totals.elapsed));
}

SevenDayStatistics SevenDayStatisticsLines(const PracticeLog &log, std::int64_t runStart)
{
    static constexpr const char *rowFormats[] = {
        "Sunday      %02lld:%02lld:%02lld   %02lld:%02lld:%02lld   %2lld%%",
        "Monday      %02lld:%02lld:%02lld   %02lld:%02lld:%02lld   %2lld%%",
        "Tuesday     %02lld:%02lld:%02lld   %02lld:%02lld:%02lld   %2lld%%",
        "Wednesday   %02lld:%02lld:%02lld   %02lld:%02lld:%02lld   %2lld%%",
        "Thursday    %02lld:%02lld:%02lld   %02lld:%02lld:%02lld   %2lld%%",
        "Friday      %02lld:%02lld:%02lld   %02lld:%02lld:%02lld   %2lld%%",
        "Saturday    %02lld:%02lld:%02lld   %02lld:%02lld:%02lld   %2lld%%",
    };
    const Day today = LocalCalendar::dayOf(runStart);
    const int weekDay = today ? today->weekDay : 0;

    // Each run goes to its own day, wherever it stands in the log: lines out of order (two
    // copies of the program append in the order they end) lose no day.
    std::array<Day, 7> days;
    for (int k = 0; k < 7; ++k)
        days[std::size_t(k)] = k == 0 ? today : LocalCalendar::dayBefore(runStart, k);
    std::array<Totals, 7> totals;
    Totals overall;
    for (const LogRecord &record : log) {
        const Day day = LocalCalendar::dayOf(record.start);
        for (std::size_t k = 0; k < days.size(); ++k) {
            if (sameDay(day, days[k])) {
                totals[k].add(record);
                overall.add(record);
                break;
            }
        }
    }

    SevenDayStatistics result;
    std::int64_t recorded = 0;
    std::int64_t missed = 0;
    for (int k = 0; k < 7; ++k) {
        Totals daily = totals[std::size_t(k)];
        if (daily.elapsed < 1) {
            ++missed;
            daily = Totals();
        } else {
            ++recorded;
        }
        const Clock a = clockOf(daily.active);
        const Clock e = clockOf(daily.elapsed);
        char row[256];
        std::snprintf(row, sizeof row, rowFormats[(weekDay + 7 - k) % 7], a.hours, a.minutes,
                      a.seconds, e.hours, e.minutes, e.seconds, ratio(daily.active, daily.elapsed));
        result.rows[k] = row;
    }

    result.lines[0] =
            format("Number of Days Recorded:       %lld", static_cast<long long>(recorded));
    result.lines[1] = format("Number of Days Missed:         %lld", static_cast<long long>(missed));
    result.lines[2] = averageLine("Average Active/Day:     ", average(overall.active, recorded));
    result.lines[3] = averageLine("Average Elapsed/Day:    ", average(overall.elapsed, recorded));
    result.lines[4] =
            format("Seven Day Ratio:             %2lld%%", ratio(overall.active, overall.elapsed));
    return result;
}

std::array<std::string, 4> CompleteStatisticsLines(const PracticeLog &log, std::int64_t runStart)
{
    // Today counts even when nothing was played; every other day once, whatever the order of
    // its runs. A run no calendar can place counts as a day of its own.
    std::vector<LocalCalendar::Day> seen;
    std::int64_t days = 0;
    const auto count = [&](const Day &day) {
        if (!day) {
            ++days;
        } else if (std::find(seen.begin(), seen.end(), *day) == seen.end()) {
            seen.push_back(*day);
            ++days;
        }
    };
    count(LocalCalendar::dayOf(runStart));
    Totals totals;
    for (const LogRecord &record : log) {
        totals.add(record);
        count(LocalCalendar::dayOf(record.start));
    }
    return {
        format("Number of Days Recorded:       %lld", static_cast<long long>(days)),
        averageLine("Average Active/Day:     ", average(totals.active, days)),
        averageLine("Average Elapsed/Day:    ", average(totals.elapsed, days)),
        format("Cummulative Ratio:           %2lld%%", ratio(totals.active, totals.elapsed)),
    };
}

std::string RunLine(const LogRecord &record)
{
    const Clock a = clockOf(record.active);
    const Clock e = clockOf(record.elapsed());
    return LocalCalendar::dateText(record.start)
            + format("    Active: %02lld:%02lld:%02lld  Elapsed: %02lld:%02lld:%02lld  Ratio "
                     "%2lld%%",
                     a.hours, a.minutes, a.seconds, e.hours, e.minutes, e.seconds,
                     ratio(record.active, record.elapsed()));
}

std::int64_t TodayCutoff(std::int64_t now) noexcept
{
    return LocalCalendar::midnight(now, 0, std::nullopt);
}

std::int64_t SevenDayCutoff(std::int64_t now) noexcept
{
    return LocalCalendar::midnight(now, -7, std::nullopt);
}

std::int64_t CompleteCutoff(std::int64_t now) noexcept
{
    return LocalCalendar::midnight(now, 0, 100);
}

std::size_t CountRunsSince(const PracticeLog &log, std::int64_t cutoff) noexcept
{
    std::size_t count = 0;
    while (count < log.size() && log[count].start >= cutoff)
        ++count;
    return count;
}

} // namespace corvane
