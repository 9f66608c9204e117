#pragma once

#include "SpscFifo.h"
#include "SampleFormat.h"
#include "WakeSignal.h"

#include <atomic>
#include <cstdint>

namespace corvane::audio {

// Carries captured frames from a device's callback to the capture worker. The callback side
// only copies (converting 24-bit samples from the device's full 32-bit range to the program's
// 24-bit range) and wakes the worker once a whole block is waiting; it never blocks, allocates
// or throws. The worker takes whole blocks. When the device delivers faster than the worker
// takes, the FIFO fills up and the callback drops the newest frames and counts an overflow.
class CaptureQueue
{
public:
    // Storage for `fifoBlocks` blocks of `blockBytes`. Allocates; only while no device and no
    // worker uses the queue.
    void prepare(const SampleFormat &format, int32_t blockBytes, int32_t fifoBlocks = 32);

    const SampleFormat &format() const noexcept { return m_format; }
    int32_t blockBytes() const noexcept { return m_blockBytes; }

    // Callback side. `frames` frames in the device's sample format (for 24-bit formats, 32-bit
    // samples using the full range). All or nothing.
    void push(const void *frames, std::size_t frameCount) noexcept;
    // The device itself lost input (it reports an overflow of its own); counted with ours.
    void noteDeviceOverflow() noexcept { m_overflows.fetch_add(1, std::memory_order_relaxed); }
    // Free space in whole frames, for a device that waits rather than overflowing.
    std::size_t writableFrames() const noexcept;

    // Worker side.
    std::size_t blocksWaiting() const noexcept;
    // Copies the oldest whole block to `out` (blockBytes() bytes); false when none is waiting.
    bool popBlock(std::byte *out) noexcept;
    // Overflows since the last call.
    uint64_t takeOverflows() noexcept;

    // Posted by push() when a whole block is waiting or the FIFO overflowed.
    WakeSignal &blockReady() noexcept { return m_blockReady; }
    // Posted by popBlock(); a device that waits for space listens to it.
    WakeSignal &spaceFreed() noexcept { return m_spaceFreed; }

private:
    SampleFormat m_format { 1, 11025, 16 };
    int32_t m_blockBytes = 0;
    SpscFifo m_fifo;
    std::atomic<uint64_t> m_overflows { 0 };
    WakeSignal m_blockReady;
    WakeSignal m_spaceFreed;
};

} // namespace corvane::audio
