#pragma once

#include "WakeSignal.h"

#include <atomic>
#include <functional>
#include <thread>

namespace corvane::audio {

// A device worker's thread and its stop protocol: stop() raises the flag, wakes the worker
// through the signal it sleeps on, and joins it, so that when stop() returns the worker has
// finished and nothing it used is touched any more. The destructor stops too.
class WorkerThread
{
public:
    WorkerThread() = default;
    ~WorkerThread() { stop(); }
    WorkerThread(const WorkerThread &) = delete;
    WorkerThread &operator=(const WorkerThread &) = delete;

    // Starts `body` on a new thread; `wake` is the signal the body sleeps on.
    void start(WakeSignal &wake, std::function<void()> body)
    {
        stop();
        m_stop.store(false, std::memory_order_relaxed);
        m_wake = &wake;
        m_thread = std::thread(std::move(body));
    }

    // Called by the body after each wake-up.
    bool stopRequested() const noexcept { return m_stop.load(std::memory_order_acquire); }

    bool running() const noexcept { return m_thread.joinable(); }

    // Not from the worker itself.
    void stop() noexcept
    {
        if (!m_thread.joinable())
            return;
        m_stop.store(true, std::memory_order_release);
        m_wake->post();
        m_thread.join();
    }

private:
    std::atomic<bool> m_stop { false };
    WakeSignal *m_wake = nullptr;
    std::thread m_thread;
};

} // namespace corvane::audio
