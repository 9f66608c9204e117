#pragma once

// Runs a test in a known local time zone (US Eastern with its daylight saving rule, written out
// so no zone database is needed) and puts the previous zone back afterwards.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace corvane::test {

class FixedTimeZone : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const char *tz = std::getenv("TZ"))
            m_previous = tz;
        setenv("TZ", "EST5EDT,M3.2.0,M11.1.0", 1);
        tzset();
    }
    void TearDown() override
    {
        if (m_previous)
            setenv("TZ", m_previous->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

    // Seconds since 1970 of a local wall-clock time.
    static std::int64_t local(int year, int month, int day, int hour = 0, int minute = 0,
                              int second = 0)
    {
        std::tm tm {};
        tm.tm_year = year - 1900;
        tm.tm_mon = month - 1;
        tm.tm_mday = day;
        tm.tm_hour = hour;
        tm.tm_min = minute;
        tm.tm_sec = second;
        tm.tm_isdst = -1;
        return static_cast<std::int64_t>(std::mktime(&tm));
    }

private:
    std::optional<std::string> m_previous;
};

} // namespace corvane::test
