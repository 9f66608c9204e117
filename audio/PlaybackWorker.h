#pragma once

#include "BlockRing.h"
#include "BlockSink.h"
#include "PlaybackBuffer.h"
#include "WorkerThread.h"

#include <atomic>
#include <cstdint>

namespace corvane::audio {

// The playback thread: sleeps until the device hands back a half of the playback buffer, copies
// the staging block (block 0 of the playback ring) into it, gives it back, and asks the source
// (BlockSink.h) to render the next block into the staging block on this thread. Nothing on
// this path allocates.
//
// Whoever opens playback may fill the staging block itself before the device starts: the worker
// touches it only after the device's first hand-over.
class PlaybackWorker
{
public:
    static constexpr int32_t kStagingIndex = 0;

    // `source` renders on the playback thread after each refill; null plays whatever the staging
    // block holds, again and again. A source must outlive the worker's thread (until stop() or
    // the destructor returns).
    PlaybackWorker(PlaybackBuffer &buffer, BlockRing &ring, BlockSource *source);
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
    BlockSource *m_source;
    std::atomic<int> m_fillHalf { -1 };
    std::atomic<uint64_t> m_refills { 0 };
    WorkerThread m_thread;
};

} // namespace corvane::audio
