// Counts heap allocations made on the device threads once they are running. The program's
// global operator new is replaced in this test program only; a thread opts in to being counted.

#include "AudioFacade.h"
#include "AudioTestSupport.h"
#include "CaptureQueue.h"
#include "PlaybackBuffer.h"
#include "VirtualBackend.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

thread_local bool t_counted = false;
std::atomic<long> g_allocations { 0 };

void *allocate(std::size_t size)
{
    if (t_counted)
        g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

} // namespace

void *operator new(std::size_t size)
{
    return allocate(size);
}
void *operator new[](std::size_t size)
{
    return allocate(size);
}
void operator delete(void *p) noexcept
{
    std::free(p);
}
void operator delete[](void *p) noexcept
{
    std::free(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void *p, std::size_t) noexcept
{
    std::free(p);
}

using namespace corvane::audio;
using namespace corvane::audio::test;

TEST(CapturePathAllocation, CaptureAndRecordingAllocateNothingPerBlockAfterOpen)
{
    corvane::test::TempWorkingDir dir;
    VirtualBackend::instance().setPacing(VirtualPacing::AsFastAsTaken);
    VirtualBackend::instance().setCaptureSource({}); // a tone, endless
    setCaptureDevice(VirtualBackend::captureDeviceId());
    setPlaybackDevice(VirtualBackend::playbackDeviceId());
    setCaptureFormat(corvane::PcmFormat { 1024, 2, 11025, 16 });
    setPlaybackFormat(corvane::PcmFormat { 11025, 2, 11025, 16 });

    CountingNotification capture, playback;
    // From its first block on, each worker thread counts what it allocates.
    capture.action = [] { t_counted = true; };
    playback.action = [] { t_counted = true; };
    ASSERT_TRUE(open(&capture, &playback));
    ASSERT_TRUE(start(true));
    ASSERT_TRUE(capture.waitFor(200));
    ASSERT_TRUE(playback.waitFor(2));
    stop();
    EXPECT_EQ(g_allocations.exchange(0), 0);
    VirtualBackend::instance().setPacing(VirtualPacing::RealTime);
}

TEST(CapturePathAllocation, TheCallbackSidesAllocateNothing)
{
    CaptureQueue queue;
    queue.prepare(StreamFormat { 2, 44100, 24 }, 4096 * 8, 32);
    PlaybackBuffer buffer;
    buffer.prepare(StreamFormat { 2, 44100, 24 }, 4096 * 8);
    buffer.setGain(0.5f);
    std::vector<int32_t> frames(2 * 512);
    std::vector<std::byte> block(4096 * 8);
    t_counted = true;
    int *volatile probe = new int(1); // the count does see allocations
    delete probe;
    EXPECT_EQ(g_allocations.exchange(0), 1);
    for (int i = 0; i < 100; ++i) {
        queue.push(frames.data(), 512);
        if (queue.blocksWaiting() > 0)
            queue.popBlock(block.data());
        buffer.render(frames.data(), 512);
        if (const int half = buffer.pendingHalf(); half >= 0)
            buffer.finishRefill(half);
    }
    t_counted = false;
    EXPECT_EQ(g_allocations.load(), 0);
}
