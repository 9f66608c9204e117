#pragma once

#include <cstdint>
#include <functional>

namespace corvane {

// The wall clock of the current run: when the program started and what time it is now, in
// seconds since 1970-01-01 UTC (64-bit, so dates after 2038 are fine).
//
// The program's clock is part of its PracticeClocks, made at start-up; tests build their own
// with an injected "now". User-interface
// thread only.
class RunClock
{
public:
    using NowFunction = std::function<std::int64_t()>;

    // time(), the system's wall clock.
    static std::int64_t systemNow() noexcept;

    // Reads the start time from `now` at once.
    explicit RunClock(NowFunction now = systemNow);

    std::int64_t startTime() const noexcept { return m_start; }
    std::int64_t currentTime() const { return m_now(); }
    // Seconds from the start to now.
    double elapsedSeconds() const;

private:
    NowFunction m_now;
    std::int64_t m_start;
};

} // namespace corvane
