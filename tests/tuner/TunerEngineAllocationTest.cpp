// Counts the heap allocations the engine makes on the device workers once they run, while the
// window switches tones and moves the gain, and what the heap holds over an hour of playing.

#include "DeviceRig.h"

#include "CountingAllocator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

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

// An hour of playing, faster than real time: the capture path (the analysis of each block) and
// the display update five times a second, on this thread in place of the capture worker and the
// window's timer. After a warm-up nothing may accumulate: the heap holds no more at the end than
// after the first seconds, and the capture path allocates nothing at all.
TEST(TunerEngineAllocation, AnHourOfPlayingLeavesTheHeapAsItWas)
{
    constexpr int kRate = 11025;
    EngineRig rig(kRate);
    TunerEngine &engine = *rig.engine;
    engine.prepareAnalyzer();
    const int length = engine.captureFormat().blockLength;
    // The twelve notes from A3 up, a new one every two seconds, over and over.
    std::vector<SineBlocks> notes;
    for (int i = 0; i < 12; ++i)
        notes.emplace_back(220.0 * std::pow(2.0, i / 12.0), 0.5, kRate, length);
    const long blocksPerNote = std::lround(2.0 * kRate / length);
    const double updatesPerBlock = 5.0 * length / kRate;
    double updatesDue = 0.0;
    long updates = 0;
    auto play = [&](long from, long to) {
        for (long block = from; block < to; ++block) {
            const std::uint8_t *pcm = notes[std::size_t(block / blocksPerNote % 12)].next();
            countAllocationsOnThisThread();
            engine.processBlock(pcm);
            countAllocationsOnThisThread(false);
            for (updatesDue += updatesPerBlock; updatesDue >= 1.0; updatesDue -= 1.0, ++updates)
                engine.update();
        }
    };

    const long warmUp = std::lround(10.0 * kRate / length);
    play(0, warmUp);
    const long long afterWarmUp = corvane::test::liveBytes();
    allocationsCounted(true);
    const long hour = std::lround(3600.0 * kRate / length);
    play(warmUp, hour);

    EXPECT_EQ(allocationsCounted(), 0)
            << "on the capture path, over " << hour - warmUp << " blocks";
    EXPECT_LE(corvane::test::liveBytes() - afterWarmUp, 0) << "bytes the heap gained in an hour";
    // Every update heard a note: the hour counts as practice.
    EXPECT_GE(rig.practice.ticks(), updates * 9 / 10);
}
