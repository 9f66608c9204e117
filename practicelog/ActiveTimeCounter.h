#pragma once

#include <cstdint>

namespace corvane {

// Counts how long the tuner heard something it could track. The tuner's engine calls tick once
// for every 1 / ticksPerSecond of time its display updates span (however often they come),
// active when anything was heard in it; an active tick counts, and so do the ticks of the next
// four seconds of silence, so short pauses between notes still count as practice.
//
// The program's counter is part of its PracticeClocks, at 5 ticks per second; tests build their
// own. User-interface thread only; nothing here allocates.
class ActiveTimeCounter
{
public:
    // `created`: seconds since 1970, kept for reference only.
    explicit ActiveTimeCounter(std::int64_t created) noexcept
        : m_created(created)
    {
    }
    ActiveTimeCounter();

    void tick(bool active) noexcept;
    void setTicksPerSecond(double ticksPerSecond) noexcept { m_ticksPerSecond = ticksPerSecond; }

    double ticksPerSecond() const noexcept { return m_ticksPerSecond; }
    std::int64_t ticks() const noexcept { return m_ticks; }
    std::int64_t created() const noexcept { return m_created; }
    // ticks / ticks per second.
    double activeSeconds() const noexcept;
    // activeSeconds() truncated toward zero, as the log stores it; 0 when it is not a number.
    std::int64_t wholeActiveSeconds() const noexcept;

private:
    std::int64_t m_ticks = 0;
    std::int64_t m_created = 0;
    double m_ticksPerSecond = 1.0;
    std::int32_t m_hangOver = 0; // silent ticks still to count
};

} // namespace corvane
