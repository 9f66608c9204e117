// Counts the heap allocations the engine makes on the device workers once they run, while the
// window switches tones and moves the gain.

#include "DeviceRig.h"

#include "CountingAllocator.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::tuner;
using namespace corvane::tuner::test;
using corvane::test::allocationsCounted;
using corvane::test::countAllocationsOnThisThread;

namespace {

// Stands between the devices and the engine: from its first call on, each worker's thread
// counts what it allocates, and the engine does its usual work on the block it is handed.
class CountingForward final : public audio::BlockSink, public audio::BlockSource
{
public:
    explicit CountingForward(TunerEngine &engine)
        : m_engine(engine)
    {
    }
    // The devices hold this object: they stop before it goes.
    ~CountingForward() { audio::stop(); }

    void onBlock(const std::byte *block, std::size_t bytes,
                 std::uint64_t position) noexcept override
    {
        countAllocationsOnThisThread();
        m_engine.onBlock(block, bytes, position);
    }
    void renderBlock(std::byte *staging, std::size_t bytes) noexcept override
    {
        countAllocationsOnThisThread();
        m_engine.renderBlock(staging, bytes);
    }

private:
    TunerEngine &m_engine;
};

} // namespace

TEST(TunerEngineAllocation, TheWorkersAllocateNothingPerBlock)
{
    DeviceRig devices;
    TunerEngine &engine = devices.engine();
    ASSERT_EQ(engine.start(false).status, TunerEngine::Outcome::Status::Running);
    // The same devices the engine opened, reopened with the forward in between.
    CountingForward forward(engine);
    audio::stop();
    ASSERT_TRUE(audio::open(forward, &forward, devices.rig.settings.GetVolume()));
    ASSERT_TRUE(audio::start(false));
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
