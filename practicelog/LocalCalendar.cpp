#include "LocalCalendar.h"

#include <cerrno>
#include <cstdio>

namespace corvane {

namespace {

    LocalCalendar::Day dayFromTm(const std::tm &tm) noexcept
    {
        return LocalCalendar::Day { tm.tm_year, tm.tm_yday, tm.tm_wday };
    }

    // mktime, normalizing `tm`; -1 is a real second too, so failure is told by errno.
    std::optional<std::int64_t> makeTime(std::tm &tm) noexcept
    {
        errno = 0;
        const std::time_t t = std::mktime(&tm);
        if (t == static_cast<std::time_t>(-1) && errno != 0)
            return std::nullopt;
        return static_cast<std::int64_t>(t);
    }

} // namespace

std::optional<std::tm> LocalCalendar::localTime(std::int64_t t) noexcept
{
    const std::time_t time = static_cast<std::time_t>(t);
    std::tm tm {};
    if (!localtime_r(&time, &tm))
        return std::nullopt;
    return tm;
}

std::optional<LocalCalendar::Day> LocalCalendar::dayOf(std::int64_t t) noexcept
{
    const auto tm = localTime(t);
    if (!tm)
        return std::nullopt;
    return dayFromTm(*tm);
}

std::optional<LocalCalendar::Day> LocalCalendar::dayBefore(std::int64_t t, int daysBack) noexcept
{
    auto tm = localTime(t);
    if (!tm)
        return std::nullopt;
    // Midday, with the library left to find daylight saving time, so that a change of clocks
    // during the night cannot move the result to a neighboring day.
    tm->tm_mday -= daysBack;
    tm->tm_hour = 12;
    tm->tm_min = 0;
    tm->tm_sec = 0;
    tm->tm_isdst = -1;
    if (!makeTime(*tm))
        return std::nullopt;
    return dayFromTm(*tm);
}

std::int64_t LocalCalendar::midnight(std::int64_t t, int dayShift, std::optional<int> year) noexcept
{
    auto tm = localTime(t);
    if (!tm)
        return t;
    tm->tm_sec = 0;
    tm->tm_min = 0;
    tm->tm_hour = 0;
    tm->tm_mday += dayShift;
    if (year)
        tm->tm_year = *year;
    // The flag of `t` may not hold at midnight (the clocks changed during the night).
    tm->tm_isdst = -1;
    return makeTime(*tm).value_or(t);
}

std::string LocalCalendar::dateText(std::int64_t t)
{
    static constexpr const char *weekDays[] = { "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat" };
    static constexpr const char *months[] = { "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec" };
    const auto tm = localTime(t);
    if (!tm || tm->tm_wday < 0 || tm->tm_wday > 6 || tm->tm_mon < 0 || tm->tm_mon > 11)
        return "(date out of range)     ";
    char text[64];
    std::snprintf(text, sizeof text, "%.3s %.3s%3d %.2d:%.2d:%.2d %lld", weekDays[tm->tm_wday],
                  months[tm->tm_mon], tm->tm_mday, tm->tm_hour, tm->tm_min, tm->tm_sec,
                  1900LL + tm->tm_year);
    return std::string(text).substr(0, 24);
}

} // namespace corvane
