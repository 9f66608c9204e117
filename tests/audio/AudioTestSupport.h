#pragma once

// Helpers shared by the audio tests: a block sink and source that count and can be waited for,
// and in-memory recording files.

#include "BlockSink.h"
#include "CountingBytes.h"
#include "RecordingFile.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace corvane::audio::test {

// The calls a worker has made, for a test to wait for.
class CallCount
{
public:
    int count() const
    {
        std::lock_guard lock(m_mutex);
        return m_count;
    }

    // True once at least `n` calls have happened, false after ten seconds without.
    bool waitFor(int n)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(10), [&] { return m_count >= n; });
    }

protected:
    void counted()
    {
        {
            std::lock_guard lock(m_mutex);
            ++m_count;
        }
        m_changed.notify_all();
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_count = 0;
};

// A capture sink that runs an optional action (which must not throw) on the capture thread,
// then counts the block.
class CountingSink : public BlockSink, public CallCount
{
public:
    std::function<void(const std::byte *block, std::size_t bytes, std::uint64_t position)> action;

    void onBlock(const std::byte *block, std::size_t bytes,
                 std::uint64_t position) noexcept override
    {
        if (action)
            action(block, bytes, position);
        counted();
    }
};

// A playback source that runs an optional action (which must not throw) on the playback thread,
// then counts the refill.
class CountingSource : public BlockSource, public CallCount
{
public:
    std::function<void(std::byte *staging, std::size_t bytes)> action;

    void renderBlock(std::byte *staging, std::size_t bytes) noexcept override
    {
        if (action)
            action(staging, bytes);
        counted();
    }
};

// A recording file in memory, with room reserved up front so that writing never allocates.
// Writes fail once `failAfterBytes` bytes have been taken.
class MemoryRecordingFile : public RecordingFile
{
public:
    explicit MemoryRecordingFile(std::size_t reserve = 1 << 20) { m_bytes.reserve(reserve); }

    std::size_t failAfterBytes = SIZE_MAX; // a disk that stays full
    int failingWrite = 0;                  // this write (counted from 1) alone fails
    std::atomic<int> writes { 0 };
    uint32_t finishedFrames = 0;
    bool finished = false;

    bool write(const std::byte *data, std::size_t size, std::size_t &written) noexcept override
    {
        ++writes;
        written = 0;
        if (writes == failingWrite || m_bytes.size() + size > failAfterBytes)
            return false;
        if (m_bytes.size() + size > m_bytes.capacity())
            return false; // never grow on the capture thread
        m_bytes.insert(m_bytes.end(), data, data + size);
        written = size;
        return true;
    }

    bool finish(uint32_t frames) noexcept override
    {
        finished = true;
        finishedFrames = frames;
        return true;
    }

    const std::vector<std::byte> &bytes() const { return m_bytes; }

private:
    std::vector<std::byte> m_bytes;
};

// Hands everything on to a file the test owns, so that the test can look at it after the
// devices have finished and dropped their recording file.
class ForwardingRecordingFile : public RecordingFile
{
public:
    explicit ForwardingRecordingFile(RecordingFile &target)
        : m_target(target)
    {
    }
    bool write(const std::byte *data, std::size_t size, std::size_t &written) noexcept override
    {
        return m_target.write(data, size, written);
    }
    bool finish(uint32_t frames) noexcept override { return m_target.finish(frames); }

private:
    RecordingFile &m_target;
};

// Polls `done` until it holds or ten seconds pass.
inline bool eventually(const std::function<bool()> &done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

using corvane::testing::countingBytes;

} // namespace corvane::audio::test
