#include "OverrunCounter.h"

namespace corvane::tuner {

bool OverrunCounter::observe(std::uint64_t total) noexcept
{
    if (total < m_lastTotal)
        m_lastTotal = 0;
    const std::uint64_t fresh = total - m_lastTotal;
    m_lastTotal = total;
    if (fresh == 0)
        return false;
    if (fresh >= static_cast<std::uint64_t>(remaining())) {
        // However many came at once, one box: the user needs telling once, not a queue of them.
        m_count = 0;
        return true;
    }
    m_count += static_cast<int>(fresh);
    return false;
}

} // namespace corvane::tuner
