#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace corvane {

// Calendar questions about a moment, in the local time zone (whatever localtime says, so TZ
// decides). Times are seconds since 1970-01-01 UTC. A moment the C library cannot represent
// (a year beyond its range) has no local time: every answer then says so instead of failing.
class LocalCalendar
{
public:
    // A local calendar day.
    struct Day
    {
        int year = 0;    // years since 1900
        int yearDay = 0; // 0..365
        int weekDay = 0; // 0 = Sunday
        friend bool operator==(const Day &a, const Day &b) noexcept
        {
            return a.year == b.year && a.yearDay == b.yearDay;
        }
    };

    static std::optional<std::tm> localTime(std::int64_t t) noexcept;
    static std::optional<Day> dayOf(std::int64_t t) noexcept;

    // The local day `daysBack` calendar days before the day of `t`.
    static std::optional<Day> dayBefore(std::int64_t t, int daysBack) noexcept;

    // Local midnight at the start of the day of `t`, moved by `dayShift` days, or in the year
    // `year` (years since 1900) when given. `t` itself when there is no such moment.
    static std::int64_t midnight(std::int64_t t, int dayShift, std::optional<int> year) noexcept;

    // The classic 24-character form "Thu May 16 09:00:00 2024" (English names; years of more
    // than four digits are cut with the rest at 24 characters).
    static std::string dateText(std::int64_t t);
};

} // namespace corvane
