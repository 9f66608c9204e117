#include "TunerPlayNotification.h"
#include "cTunerNotification.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace corvane::tuner;

namespace {

struct CountingTuner final : TunerBlockHandler
{
    void ProcessCapturedBlock() override { ++captured; }
    void GeneratePlayBlock() override { ++played; }
    std::atomic<int> captured = 0;
    std::atomic<int> played = 0;
};

} // namespace

TEST(TunerNotifications, EachForwardsTheWorkersCallToItsOwnHandlerOnTheCallingThread)
{
    CountingTuner tuner;
    cTunerNotification capture(tuner);
    TunerPlayNotification playback(tuner);
    corvane::audio::cNotification &asCapture = capture;
    corvane::audio::cNotification &asPlayback = playback;
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i)
            asCapture.notify();
        asPlayback.notify();
    });
    worker.join();
    EXPECT_EQ(tuner.captured, 3);
    EXPECT_EQ(tuner.played, 1);
}
