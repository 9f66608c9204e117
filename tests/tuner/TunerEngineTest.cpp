// The engine's display update, fed block by block on the test's own thread in place of the
// capture worker (no device runs).

#include "TunerTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace corvane;
using namespace corvane::tuner;
using namespace corvane::tuner::test;

namespace {

class TunerEngineTest : public ::testing::Test
{
protected:
    TunerEngineTest() { rig.engine->prepareAnalyzer(); }

    TunerEngine &engine() { return *rig.engine; }
    int blockLength() { return engine().captureFormat().blockLength; }

    // Feeds `blocks` blocks, one update after each; returns the last update.
    TunerUpdate feed(SineBlocks &source, int blocks)
    {
        TunerUpdate shown;
        for (int i = 0; i < blocks; ++i) {
            engine().processBlock(source.next());
            shown = engine().update();
        }
        return shown;
    }

    // Blocks fed until the readout shows `note` within `tolerance` of `cents`; -1 after 30.
    int blocksUntilReadout(SineBlocks &source, const char *note, double cents, double tolerance)
    {
        for (int i = 1; i <= 30; ++i) {
            engine().processBlock(source.next());
            last = engine().update();
            if (last.readout.note() == note && std::abs(last.readout.cents() - cents) <= tolerance)
                return i;
        }
        return -1;
    }

    EngineRig rig;
    TunerUpdate last;
};

} // namespace

TEST_F(TunerEngineTest, SilenceFeedsNothingHeardAndTicksInactive)
{
    SineBlocks silence(440.0, 0.0, 44100, blockLength());
    const TunerUpdate shown = feed(silence, 3);
    EXPECT_FALSE(shown.active);
    EXPECT_EQ(shown.foldedHz, 0.0);
    EXPECT_FALSE(shown.readout.shown());
    EXPECT_EQ(rig.practice.ticks(), 0);
}

TEST_F(TunerEngineTest, EnergyAboveHalfTheThresholdCountsAsPracticeEvenWithoutAPitch)
{
    rig.settings.SetNoiseThreshold(0.0f); // even silence reaches it now
    SineBlocks silence(440.0, 0.0, 44100, blockLength());
    const TunerUpdate shown = feed(silence, 2);
    EXPECT_TRUE(shown.active);
    EXPECT_EQ(shown.foldedHz, 0.0); // no pitch: no wheel
    EXPECT_FALSE(shown.readout.shown());
    EXPECT_EQ(rig.practice.ticks(), 2);
}

TEST_F(TunerEngineTest, AnAFourFortyFoldsToTheLowestAAndReadsInTune)
{
    SineBlocks a440(440.0, 0.5, 44100, blockLength());
    // Within a tenth of a cent, so that the frequency shows as 440.0 Hz.
    const int blocks = blocksUntilReadout(a440, "A4", 0.0, 0.1);
    ASSERT_GT(blocks, 0);
    RecordProperty("blocks_to_first_correct_readout", blocks);
    EXPECT_LE(blocks, 8);
    EXPECT_TRUE(last.active);
    EXPECT_NEAR(last.foldedHz, 27.5, 27.5 * 0.0003);
    EXPECT_EQ(rig.pitch.NoteIndex(last.foldedHz), 0);
    EXPECT_EQ(last.readout.hzText(), "440.0 Hz");
    EXPECT_GT(last.fullLevel, 0.1);
    EXPECT_EQ(last.bandLevels[0], 0.0); // the meter below the lowest band stays empty
}

TEST_F(TunerEngineTest, ALowEThirtyCentsFlatReadsE2MinusThirty)
{
    SineBlocks lowE(centsAway(82.4069, -30.0), 0.5, 44100, blockLength());
    ASSERT_GT(blocksUntilReadout(lowE, "E2", -30.0, 0.5), 0);
    EXPECT_EQ(rig.pitch.NoteIndex(last.foldedHz), 7);
}

TEST_F(TunerEngineTest, TheInputGainReachesTheAnalyzerFromTheNextBlock)
{
    SineBlocks a440(440.0, 0.5, 44100, blockLength());
    EXPECT_GT(feed(a440, 2).totalEnergy, 0.1);
    EXPECT_EQ(engine().setInputGain(0.0), 0.0);
    // The bands' delay lines and the window still hold the last loud sound for a moment: four
    // windows' worth of blocks.
    const int settle = 4 * engine().windowLength() / blockLength();
    EXPECT_LT(feed(a440, settle).totalEnergy, 1e-6);
    EXPECT_EQ(engine().setInputGain(7.0), 2.0);          // brought into range
    EXPECT_EQ(engine().setInputGain(std::nan("")), 2.0); // ignored
    EXPECT_GT(feed(a440, settle).totalEnergy, 0.1);
}

TEST_F(TunerEngineTest, LoadBarsChangeEveryTwoSecondsAndClocksOnceASecondAtAnyUpdateRate)
{
    for (const int perSecond : { 5, 60 }) {
        EngineRig fresh;
        TunerEngine &engine = *fresh.engine;
        const TunerEngine::Micros step { 1'000'000 / perSecond };
        std::vector<double> loadAt, clocksAt;
        for (int update = 1; update <= 4 * perSecond + 2; ++update) {
            engine.loadMeter().addCapture(25.0, 100.0);
            engine.loadMeter().addPlayback(1.0, 1000.0);
            const TunerUpdate shown = engine.update(step);
            EXPECT_EQ(shown.elapsed, step);
            const double seconds = double(update) / perSecond;
            if (shown.loadChanged) {
                loadAt.push_back(seconds);
                EXPECT_EQ(shown.captureLoadPercent, 25);
                EXPECT_EQ(shown.playbackLoadPercent, 0); // a tenth of a percent shows as 0
            }
            if (shown.clocksDue)
                clocksAt.push_back(seconds);
        }
        // 1/60 s is counted as 16,666 us: sixty of them fall 40 us short of the second.
        const double late = perSecond == 60 ? 1.0 / 60 : 0.0;
        ASSERT_EQ(loadAt.size(), 2u) << perSecond;
        EXPECT_NEAR(loadAt[0], 2.0, late + 1e-9);
        EXPECT_NEAR(loadAt[1], 4.0, 2 * late + 1e-9);
        ASSERT_GE(clocksAt.size(), 3u) << perSecond;
        EXPECT_NEAR(clocksAt[0], 1.0, late + 1e-9);
        EXPECT_NEAR(clocksAt[1], 2.0, 2 * late + 1e-9);
    }
}

TEST_F(TunerEngineTest, PracticeCountsSecondsOfPlayingHoweverOftenTheDisplayUpdates)
{
    rig.settings.SetNoiseThreshold(0.0f); // anything counts as playing
    SineBlocks silence(440.0, 0.0, 44100, blockLength());
    engine().processBlock(silence.next());
    // Two seconds at sixty updates a second: ten ticks of a fifth of a second, as two seconds
    // at five updates do (not one tick per update).
    for (int update = 0; update < 120; ++update)
        engine().update(TunerEngine::Micros { 16'667 });
    EXPECT_EQ(rig.practice.ticks(), 10);
    // A window held up for ten seconds counts one second at most.
    engine().update(TunerEngine::Micros { 10'000'000 });
    EXPECT_EQ(rig.practice.ticks(), 15);
}

TEST_F(TunerEngineTest, AResultTakenTwiceIsFreshOnlyTheFirstTime)
{
    SineBlocks a440(440.0, 0.5, 44100, blockLength());
    feed(a440, 3);
    engine().processBlock(a440.next());
    const TunerUpdate first = engine().update(TunerEngine::Micros { 16'667 });
    EXPECT_TRUE(first.fresh);
    const TunerUpdate again = engine().update(TunerEngine::Micros { 16'667 });
    EXPECT_FALSE(again.fresh);
    EXPECT_EQ(again.totalEnergy, first.totalEnergy) << "the last result is shown again";
    EXPECT_EQ(again.readout.note(), first.readout.note());
}

TEST_F(TunerEngineTest, AClearNoteOutsideTheLimitsReadsBelowOrAboveRangeAndLightsNoWheel)
{
    PitchResult result {};
    result.totalEnergy = 0.5;
    result.range = PitchResult::Range::Below;
    engine().publishResult(result);
    TunerUpdate shown = engine().update();
    EXPECT_TRUE(shown.active);
    EXPECT_EQ(shown.foldedHz, 0.0);
    EXPECT_FALSE(shown.readout.shown());
    EXPECT_EQ(shown.readout.range(), PitchReadout::Range::Below);

    result.range = PitchResult::Range::Above;
    engine().publishResult(result);
    EXPECT_EQ(engine().update().readout.range(), PitchReadout::Range::Above);

    // Under the noise gate nothing is said, in range or not.
    result.totalEnergy = 0.0;
    engine().publishResult(result);
    shown = engine().update();
    EXPECT_EQ(shown.readout.range(), PitchReadout::Range::Within);
    EXPECT_FALSE(shown.readout.shown());
}
