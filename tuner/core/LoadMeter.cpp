#include "LoadMeter.h"

#include <algorithm>
#include <cmath>

namespace corvane::tuner {

void LoadMeter::addCapture(double busyMs, double budgetMs) noexcept
{
    add(m_capture, busyMs, budgetMs);
}

void LoadMeter::addPlayback(double busyMs, double budgetMs) noexcept
{
    add(m_playback, busyMs, budgetMs);
}

double LoadMeter::captureLoad() noexcept
{
    return take(m_capture);
}

double LoadMeter::playbackLoad() noexcept
{
    return take(m_playback);
}

int LoadMeter::percent(double load) noexcept
{
    if (!(load > 0.0))
        return 0;
    return static_cast<int>(std::trunc(std::min(load, 1.0) * 100.0));
}

void LoadMeter::add(Pair &pair, double busyMs, double budgetMs) noexcept
{
    pair.busyMs.fetch_add(busyMs, std::memory_order_relaxed);
    pair.budgetMs.fetch_add(budgetMs, std::memory_order_relaxed);
}

double LoadMeter::take(Pair &pair) noexcept
{
    const double busy = pair.busyMs.exchange(0.0, std::memory_order_relaxed);
    const double budget = pair.budgetMs.exchange(0.0, std::memory_order_relaxed);
    return budget > 0.0 ? busy / budget : 0.0;
}

} // namespace corvane::tuner
