// Counts the heap allocations the engine makes on the device workers once they run, while the
// window switches tones and moves the gain.

#include "AudioNotifier.h"
#include "DeviceRig.h"

#include "CountingAllocator.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::tuner;
using namespace corvane::tuner::test;
using corvane::test::allocationsCounted;
using corvane::test::countAllocationsOnThisThread;

namespace {

// Stands in for one of the engine's notifications: from its first call on, the worker's thread
// counts what it allocates, and the engine does its usual work.
class CountingForward : public audio::cNotification
{
public:
    CountingForward(TunerEngine &engine, bool capture)
        : m_engine(engine)
        , m_capture(capture)
    {
    }
    void notify() override
    {
        countAllocationsOnThisThread();
        if (m_capture)
            m_engine.ProcessCapturedBlock();
        else
            m_engine.GeneratePlayBlock();
    }

private:
    TunerEngine &m_engine;
    bool m_capture;
};

} // namespace

TEST(TunerEngineAllocation, TheWorkersAllocateNothingPerBlock)
{
    DeviceRig devices;
    TunerEngine &engine = devices.engine();
    CountingForward capture(engine, true), playback(engine, false);
    ASSERT_EQ(engine.start(false).status, TunerEngine::Outcome::Status::Running);
    audio::AudioNotifier::instance().setCaptureNotification(&capture);
    audio::AudioNotifier::instance().setPlaybackNotification(&playback);
    allocationsCounted(true);

    audio::AudioDevices &hardware = audio::AudioDevices::instance();
    int changes = 0;
    ASSERT_TRUE(devices.updateUntil([&](const TunerUpdate &) {
        engine.toggleTone(changes % 12);
        engine.setInputGain((changes % 4) * 0.5);
        ++changes;
        return hardware.blocksCaptured() >= 60 && hardware.playbackRefills() >= 4;
    }));
    engine.stopDevices();
    EXPECT_EQ(allocationsCounted(), 0);
}
