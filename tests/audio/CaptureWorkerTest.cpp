#include "AudioTestSupport.h"
#include "CaptureWorker.h"
#include "DebugLog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>

using namespace corvane::audio;
using corvane::BlockRing;
using corvane::SampleFormat;
using namespace corvane::audio::test;

namespace {

constexpr int32_t kBlockBytes = 16; // 8 frames of 16-bit mono

class CaptureWorkerTest : public ::testing::Test
{
protected:
    CaptureWorkerTest()
    {
        queue.prepare(SampleFormat { 1, 11025, 16 }, kBlockBytes, 8);
        ring.resize(kBlockBytes, 4);
        setDebugLogHandler([this](std::string_view text) {
            std::lock_guard lock(logMutex);
            log += std::string(text) + "|";
        });
    }
    ~CaptureWorkerTest() override { setDebugLogHandler(nullptr); }

    void pushBlocks(int count, std::size_t first = 0)
    {
        const auto bytes =
                countingBytes(static_cast<std::size_t>(count) * kBlockBytes, first * kBlockBytes);
        queue.push(bytes.data(), bytes.size() / 2);
    }

    std::string logText()
    {
        std::lock_guard lock(logMutex);
        return log;
    }

    CaptureQueue queue;
    BlockRing ring;
    CountingSink sink;
    std::mutex logMutex;
    std::string log;
};

} // namespace

TEST_F(CaptureWorkerTest, TheSinkIsHandedEachRingBlockItFilledAndTheRingThenAdvances)
{
    std::vector<int32_t> handed;
    sink.action = [&](const std::byte *block, std::size_t, std::uint64_t) {
        handed.push_back(block == ring.blockAddress(ring.newestIndex()) ? ring.newestIndex() : -1);
    };
    CaptureWorker worker(queue, ring, sink);
    worker.beginRun(nullptr);
    for (int i = 0; i < 3; ++i) {
        pushBlocks(1, static_cast<std::size_t>(i));
        ASSERT_TRUE(sink.waitFor(i + 1));
    }
    worker.stop();
    EXPECT_EQ(handed, (std::vector<int32_t> { 0, 1, 2 }));
    EXPECT_EQ(ring.newestIndex(), 3);
    EXPECT_EQ(worker.overruns(), 0u);
}

TEST_F(CaptureWorkerTest, CountsAnOverrunWhenTheSinkReturnsToABacklogOrTheQueueOverflowed)
{
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> first { true };
    sink.action = [&](const std::byte *, std::size_t, std::uint64_t) {
        if (first.exchange(false))
            released.wait(); // the analysis of the first block is slow
    };
    CaptureWorker worker(queue, ring, sink);
    worker.beginRun(nullptr);
    pushBlocks(1);
    ASSERT_TRUE(eventually([&] { return queue.blocksWaiting() == 0; }));
    pushBlocks(3, 1); // three more arrive while the first is being handled
    release.set_value();
    ASSERT_TRUE(sink.waitFor(4));
    // After block 1, three were waiting; after block 2, two; after block 3 only one.
    EXPECT_TRUE(eventually([&] { return worker.overruns() == 2; }));

    pushBlocks(9, 4); // one more than the queue holds: that delivery is lost
    EXPECT_TRUE(eventually([&] { return worker.overruns() == 3; }));
    worker.stop();
    EXPECT_EQ(sink.count(), 4);
}

// A disk full for a moment costs the block that met it, not the rest of the take.
// A full disk ends the take at the block that met it: no holes the listener cannot hear, and
// the blocks still reach the ring and the sink.
TEST_F(CaptureWorkerTest, AFailedWriteEndsTheRecordingThereAndSaysSo)
{
    MemoryRecordingFile file;
    file.failingWrite = 2;
    CaptureWorker worker(queue, ring, sink);
    worker.beginRun(&file);
    pushBlocks(4);
    ASSERT_TRUE(sink.waitFor(4));
    EXPECT_TRUE(worker.recordingFailed());
    worker.stop();
    EXPECT_TRUE(worker.writeFailed());
    EXPECT_EQ(worker.bytesLost(), uint64_t { kBlockBytes });
    EXPECT_EQ(worker.bytesRecorded(), uint64_t { kBlockBytes });
    EXPECT_EQ(file.writes.load(), 2);
    EXPECT_EQ(file.bytes(), countingBytes(kBlockBytes));
    EXPECT_NE(logText().find("Failure writing data to file\n"), std::string::npos);
    // A new run records again.
    worker.beginRun(nullptr);
    EXPECT_FALSE(worker.recordingFailed());
}

TEST_F(CaptureWorkerTest, RecordingStopsWholeBeforeTheSizeLimit)
{
    MemoryRecordingFile file;
    CaptureWorker worker(queue, ring, sink);
    worker.beginRun(&file, 2 * kBlockBytes + kBlockBytes / 2);
    pushBlocks(4);
    ASSERT_TRUE(sink.waitFor(4));
    worker.stop();
    EXPECT_TRUE(worker.limitReached());
    EXPECT_FALSE(worker.writeFailed());
    EXPECT_EQ(file.bytes().size(), std::size_t { 2 * kBlockBytes });
}

TEST_F(CaptureWorkerTest, StopWaitsForARunningSinkAndThenNothingRunsAnyMore)
{
    std::atomic<bool> inside { false };
    sink.action = [&](const std::byte *, std::size_t, std::uint64_t) {
        inside = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        inside = false;
    };
    CaptureWorker worker(queue, ring, sink);
    worker.beginRun(nullptr);
    pushBlocks(1);
    ASSERT_TRUE(eventually([&] { return inside.load(); }));
    const auto before = std::chrono::steady_clock::now();
    worker.stop();
    const auto took = std::chrono::steady_clock::now() - before;
    EXPECT_FALSE(inside.load());
    EXPECT_EQ(sink.count(), 1);
    // Joined as soon as the block in hand is done: nowhere near the old fixed pause of 1.1 s.
    EXPECT_LT(took, std::chrono::milliseconds(1000));
    // The thread is joined: a block that arrives now wakes nobody.
    EXPECT_FALSE(worker.running());
}
