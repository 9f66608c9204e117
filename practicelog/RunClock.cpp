#include "RunClock.h"

#include <ctime>
#include <utility>

namespace corvane {

static_assert(sizeof(std::time_t) == 8, "the practice log needs a 64-bit time_t");

std::int64_t RunClock::systemNow() noexcept
{
    return static_cast<std::int64_t>(std::time(nullptr));
}

RunClock::RunClock(NowFunction now)
    : m_now(std::move(now))
    , m_start(m_now())
{
}

double RunClock::elapsedSeconds() const
{
    return std::difftime(static_cast<std::time_t>(currentTime()),
                         static_cast<std::time_t>(m_start));
}

} // namespace corvane
