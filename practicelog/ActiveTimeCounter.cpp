#include "ActiveTimeCounter.h"

#include "RunClock.h"

#include <cmath>

namespace corvane {

namespace {

    // Truncates toward zero, holding values the integer cannot take at its ends.
    template<typename Int>
    Int truncated(double value, double low, double high) noexcept
    {
        if (!(value > low)) // also NaN
            return static_cast<Int>(value <= low ? low : 0.0);
        if (value >= high)
            return static_cast<Int>(high);
        return static_cast<Int>(value);
    }

} // namespace

ActiveTimeCounter::ActiveTimeCounter()
    : ActiveTimeCounter(RunClock::systemNow())
{
}

void ActiveTimeCounter::tick(bool active) noexcept
{
    if (active) {
        ++m_ticks;
        m_hangOver = truncated<std::int32_t>(m_ticksPerSecond * 4.0, 0.0, 1e9);
    } else if (m_hangOver > 0) {
        ++m_ticks;
        --m_hangOver;
    }
}

double ActiveTimeCounter::activeSeconds() const noexcept
{
    return static_cast<double>(m_ticks) / m_ticksPerSecond;
}

std::int64_t ActiveTimeCounter::wholeActiveSeconds() const noexcept
{
    return truncated<std::int64_t>(activeSeconds(), -9.2e18, 9.2e18);
}

} // namespace corvane
