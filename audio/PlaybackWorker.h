#pragma once

#include "BlockRing.h"
#include "PlaybackBuffer.h"
#include "WorkerThread.h"

#include <atomic>
#include <cstdint>
#include <functional>

namespace corvane::audio {

// The playback thread: sleeps until the device hands back a half of the playback buffer, copies
// the staging block (block 0 of the playback ring) into it, gives it back, and calls the
// playback notification, whose handler renders the next block into the staging block on this
// thread. Nothing on this path allocates.
class PlaybackWorker
{
public:
    static constexpr int32_t kStagingIndex = 0;

    // `notify` runs on the playback thread after each refill; an exception from it is logged
    // and the worker goes on.
    PlaybackWorker(PlaybackBuffer &buffer, BlockRing &ring, std::function<void()> notify);
    ~PlaybackWorker();
    PlaybackWorker(const PlaybackWorker &) = delete;
    PlaybackWorker &operator=(const PlaybackWorker &) = delete;

    // Asks the thread to end, wakes it and joins it.
    void stop() noexcept;

    // The half refilled last (0 or 1), -1 before the first refill; and how many refills so far.
    int lastFilledHalf() const noexcept { return m_fillHalf.load(std::memory_order_acquire); }
    uint64_t refills() const noexcept { return m_refills.load(std::memory_order_acquire); }

private:
    void run() noexcept;
    void refill(int half) noexcept;

    PlaybackBuffer &m_buffer;
    BlockRing &m_ring;
    std::function<void()> m_notify;
    std::atomic<int> m_fillHalf { -1 };
    std::atomic<uint64_t> m_refills { 0 };
    WorkerThread m_thread;
};

} // namespace corvane::audio
