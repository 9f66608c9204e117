#include "WakeSignal.h"

#include <cerrno>
#include <ctime>

namespace corvane::audio {

WakeSignal::WakeSignal() noexcept
{
    sem_init(&m_sem, 0, 0);
}

WakeSignal::~WakeSignal()
{
    sem_destroy(&m_sem);
}

void WakeSignal::post() noexcept
{
    sem_post(&m_sem);
}

void WakeSignal::wait() noexcept
{
    while (sem_wait(&m_sem) != 0 && errno == EINTR) { }
}

bool WakeSignal::waitUntil(std::chrono::steady_clock::time_point deadline) noexcept
{
    // steady_clock is CLOCK_MONOTONIC on Linux, so the deadline converts directly.
    const auto since = deadline.time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
    timespec when {};
    when.tv_sec = static_cast<time_t>(seconds.count());
    when.tv_nsec = static_cast<long>(
            std::chrono::duration_cast<std::chrono::nanoseconds>(since - seconds).count());
    if (when.tv_sec < 0)
        when = {};
    for (;;) {
        if (sem_clockwait(&m_sem, CLOCK_MONOTONIC, &when) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

bool WakeSignal::tryWait() noexcept
{
    return sem_trywait(&m_sem) == 0;
}

} // namespace corvane::audio
