// Counts heap allocations made on the device threads once they are running, and on the device
// callbacks' side of the queue and the playback buffer.

#include "AudioFacade.h"
#include "AudioTestSupport.h"
#include "CaptureQueue.h"
#include "PlaybackBuffer.h"
#include "VirtualBackend.h"

#include "CountingAllocator.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace corvane::audio;
using corvane::SampleFormat;
using namespace corvane::audio::test;
using corvane::test::allocationsCounted;
using corvane::test::countAllocationsOnThisThread;

TEST(CapturePathAllocation, CaptureAndRecordingAllocateNothingPerBlockAfterOpen)
{
    corvane::test::TempWorkingDir dir;
    VirtualBackend::instance().setPacing(VirtualPacing::AsFastAsTaken);
    VirtualBackend::instance().setCaptureSource({}); // a tone, endless
    setCaptureDevice(VirtualBackend::captureDeviceId());
    setPlaybackDevice(VirtualBackend::playbackDeviceId());
    setCaptureFormat(corvane::PcmFormat { 1024, 2, 11025, 16 });
    setPlaybackFormat(corvane::PcmFormat { 11025, 2, 11025, 16 });

    CountingSink capture;
    CountingSource playback;
    // From its first block on, each worker thread counts what it allocates.
    capture.action = [](const std::byte *, std::size_t, std::uint64_t) {
        countAllocationsOnThisThread();
    };
    playback.action = [](std::byte *, std::size_t) { countAllocationsOnThisThread(); };
    ASSERT_TRUE(open(capture, &playback, 1.0f));
    ASSERT_TRUE(start(true));
    ASSERT_TRUE(capture.waitFor(200));
    ASSERT_TRUE(playback.waitFor(2));
    stop();
    EXPECT_EQ(allocationsCounted(true), 0);
    VirtualBackend::instance().setPacing(VirtualPacing::RealTime);
}

TEST(CapturePathAllocation, TheCallbackSidesAllocateNothing)
{
    CaptureQueue queue;
    queue.prepare(SampleFormat { 2, 44100, 24 }, 4096 * 8, 32);
    PlaybackBuffer buffer;
    buffer.prepare(SampleFormat { 2, 44100, 24 }, 4096 * 8);
    buffer.setGain(0.5f);
    std::vector<int32_t> frames(2 * 512);
    std::vector<std::byte> block(4096 * 8);
    countAllocationsOnThisThread();
    int *volatile probe = new int(1); // the count does see allocations
    delete probe;
    EXPECT_EQ(allocationsCounted(true), 1);
    for (int i = 0; i < 100; ++i) {
        queue.push(frames.data(), 512);
        if (queue.blocksWaiting() > 0)
            queue.popBlock(block.data());
        buffer.render(frames.data(), 512);
        if (const int half = buffer.pendingHalf(); half >= 0)
            buffer.finishRefill(half);
    }
    countAllocationsOnThisThread(false);
    EXPECT_EQ(allocationsCounted(), 0);
}
