#pragma once

#include <cstdint>
#include <limits>
#include <vector>

namespace corvane {

// Sums and differences of log values saturate instead of overflowing: the numbers come from a
// text file the user can edit, and one absurd line must not poison the arithmetic.
inline std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) noexcept
{
    std::int64_t sum;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<std::int64_t>::max()
                     : std::numeric_limits<std::int64_t>::min();
    return sum;
}

inline std::int64_t saturatingSub(std::int64_t a, std::int64_t b) noexcept
{
    std::int64_t difference;
    if (__builtin_sub_overflow(a, b, &difference))
        return b < 0 ? std::numeric_limits<std::int64_t>::max()
                     : std::numeric_limits<std::int64_t>::min();
    return difference;
}

// One run of the program: start and end in seconds since 1970-01-01 UTC, and the seconds of it
// the tuner counted as active. One line of the practice log.
struct LogRecord
{
    std::int64_t start = 0;
    std::int64_t end = 0;
    std::int64_t active = 0;

    std::int64_t elapsed() const noexcept { return saturatingSub(end, start); }

    friend bool operator==(const LogRecord &, const LogRecord &) = default;
};

// The practice log in memory, newest run first: the current run, then the file's runs by their
// start, newest first. The statistics sum each run into its own day whatever the order; the
// listing of runs since a cut-off relies on it.
using PracticeLog = std::vector<LogRecord>;

} // namespace corvane
