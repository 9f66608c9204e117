#pragma once

#include <chrono>

#include <semaphore.h>

namespace corvane::audio {

// A counting wake-up between one thread that has news and one that sleeps until it has. post()
// is async-signal-safe (it takes no lock and never allocates), so an audio callback may call it;
// the waiting side is a worker thread. Several posts before a wait are not lost: each wait
// consumes one, and a worker that drains everything on each wake simply finds nothing to do on
// the surplus ones.
class WakeSignal
{
public:
    WakeSignal() noexcept;
    ~WakeSignal();
    WakeSignal(const WakeSignal &) = delete;
    WakeSignal &operator=(const WakeSignal &) = delete;

    void post() noexcept;

    // Blocks until a post arrives.
    void wait() noexcept;

    // Blocks until a post arrives (true) or the deadline passes (false).
    bool waitUntil(std::chrono::steady_clock::time_point deadline) noexcept;

    // Consumes a pending post without blocking; false when there was none.
    bool tryWait() noexcept;

private:
    sem_t m_sem;
};

} // namespace corvane::audio
