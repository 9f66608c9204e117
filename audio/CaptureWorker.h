#pragma once

#include "BlockRing.h"
#include "BlockSink.h"
#include "CaptureQueue.h"
#include "RecordingFile.h"
#include "WorkerThread.h"

#include <atomic>
#include <cstdint>

namespace corvane::audio {

// The capture thread: sleeps until the device has delivered a whole block, then for each block
// waiting copies it into the capture ring, appends it to the recording file (when recording,
// until a write fails),
// hands the ring block to the sink (BlockSink.h) and advances the ring. Nothing on this path
// allocates.
//
// The user-interface thread constructs it (the thread starts and waits), calls beginRun()
// before the device starts delivering, and stop() after the device has stopped.
class CaptureWorker
{
public:
    // A RIFF size is 32 bits and counts the whole file but its first 8 bytes; a recording stops
    // before its data could make that wrap (64 bytes of headroom for the header).
    static constexpr uint64_t kMaxRecordingBytes = 0xFFFFFFFFull - 64;

    // `sink` receives every block on the capture thread; it must outlive the worker's thread
    // (until stop() or the destructor returns).
    CaptureWorker(CaptureQueue &queue, BlockRing &ring, BlockSink &sink);
    ~CaptureWorker();
    CaptureWorker(const CaptureWorker &) = delete;
    CaptureWorker &operator=(const CaptureWorker &) = delete;

    // Resets the ring and the block position to 0, and records into `file` (not owned; may be
    // null) up to `maxBytes` data bytes. Only while the device is not delivering.
    void beginRun(RecordingFile *file, uint64_t maxBytes = kMaxRecordingBytes) noexcept;

    // While paused, blocks still reach the ring and the sink but not the recording
    // file, which stays open: resuming appends to it. beginRun() clears the pause. Any thread.
    void setRecordingPaused(bool paused) noexcept
    {
        m_recordingPaused.store(paused, std::memory_order_relaxed);
    }

    // Asks the thread to end, wakes it and joins it. A recording run first takes the blocks still
    // queued, so the file holds everything the device delivered. Stop the device first.
    void stop() noexcept;
    // Whether the worker's thread is still there: from construction until stop(). UI thread.
    bool running() const noexcept;

    // Overruns so far: a sink call that returned to find more than one whole block waiting,
    // or a delivery the queue had no room for. Any thread.
    uint64_t overruns() const noexcept { return m_overruns.load(std::memory_order_relaxed); }
    uint64_t blocksCaptured() const noexcept { return m_blocks.load(std::memory_order_acquire); }

    // Whether a block could not be written (a full disk): the recording stopped there, and the
    // take holds everything before that block. The window asks at every display update, so that
    // it can end the take and say so at once. Any thread.
    bool recordingFailed() const noexcept
    {
        return m_recordingFailed.load(std::memory_order_acquire);
    }

    // The recording's outcome; read after stop().
    uint64_t bytesRecorded() const noexcept { return m_bytesRecorded; }
    bool writeFailed() const noexcept { return m_bytesLost > 0; }
    // Bytes of the block that could not be written; none after it was tried.
    uint64_t bytesLost() const noexcept { return m_bytesLost; }
    bool limitReached() const noexcept { return m_limitReached; }

private:
    void run() noexcept;
    void drain() noexcept;
    void record(const std::byte *block) noexcept;

    CaptureQueue &m_queue;
    BlockRing &m_ring;
    BlockSink &m_sink;

    // Written by beginRun() before the device delivers; then the worker's own.
    std::atomic<RecordingFile *> m_file { nullptr };
    std::atomic<bool> m_recordingPaused { false };
    int32_t m_writeBlock = 0;
    uint64_t m_position = 0; // frames, of the next block
    uint64_t m_blockFrames = 0;
    uint64_t m_maxBytes = kMaxRecordingBytes;
    uint64_t m_bytesRecorded = 0;
    uint64_t m_bytesLost = 0;
    bool m_limitReached = false;
    std::atomic<bool> m_recordingFailed { false };

    std::atomic<uint64_t> m_overruns { 0 };
    std::atomic<uint64_t> m_blocks { 0 };
    WorkerThread m_thread;
};

} // namespace corvane::audio
