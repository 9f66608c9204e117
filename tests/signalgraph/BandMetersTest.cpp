#include "AutoCorrelateFilter.h"
#include "EnergyDetectFilter.h"
#include "GraphTestKit.h"
#include "PitchDetectFilter.h"
#include "Signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace corvane;
using namespace corvane::test;

namespace {

template<typename Meter>
struct MeterRig
{
    explicit MeterRig(MediaFormat format, int32_t windowBlocks = 1)
        : source(format)
    {
        meter.setWindowBlocks(windowBlocks);
        source.out.connect(meter.inputPin(1));
    }
    Feeder source;
    Meter meter;
};

} // namespace

TEST(PitchDetectFilter, MeasuresTheFrequencyAcrossBlocksOfAnyLength)
{
    // With short blocks the crossings that bound a period lie in different blocks, and often a
    // block holds none; the carried distance must still give the exact period.
    const double rate = 11025.0;
    // A period longer than the block is not measured at all (a block without a crossing drops
    // the held one), so every case here has at least one crossing per block.
    for (double hz : { 440.0, 97.0, 1234.5 }) {
        for (int32_t length : { 1024, 200, 16 }) {
            if (rate / hz >= length)
                continue;
            MeterRig<PitchDetectFilter> rig({ length, rate });
            const std::vector<float> x = sine(hz, rate, static_cast<size_t>(length) * 40, 0.5, 0.3);
            int measured = 0;
            for (size_t at = 0; at < x.size(); at += static_cast<size_t>(length)) {
                rig.source.push(x.data() + at);
                const double f = rig.meter.frequency();
                if (f != 0.0) {
                    ++measured;
                    ASSERT_NEAR(f, hz, hz * 1e-3) << length << " samples, block at " << at;
                }
            }
            EXPECT_GT(measured, 10) << hz << " Hz in blocks of " << length;
        }
    }
}

TEST(PitchDetectFilter, ForgetsACarriedCrossingAfterABlockWithoutOne)
{
    MeterRig<PitchDetectFilter> rig({ 256, 11025.0 });
    const std::vector<float> tone = sine(440.0, 11025.0, 256);
    const std::vector<float> below(256, -0.1f);
    rig.source.push(tone.data());
    EXPECT_NEAR(rig.meter.frequency(), 440.0, 0.5);
    // The first block below zero may still hold a crossing at its start; the second holds none.
    rig.source.push(below.data());
    rig.source.push(below.data());
    EXPECT_EQ(rig.meter.frequency(), 0.0);

    // One crossing near the end of a block is held, not measured against the forgotten one.
    std::vector<float> single(256, -0.1f);
    single[250] = 0.1f; // 0.1 -> -0.1 between 250 and 251
    rig.source.push(single.data());
    EXPECT_EQ(rig.meter.frequency(), 0.0);
    // The next crossing, 256 samples later, is measured against it.
    rig.source.push(single.data());
    EXPECT_NEAR(rig.meter.frequency(), 11025.0 / 256, 1e-9);

    // Reconfiguring forgets everything, including the last sample of the last block.
    rig.meter.configure({ 256, 11025.0 });
    EXPECT_EQ(rig.meter.frequency(), 0.0);
}

// Blocks of 16 with a tail of 40: the tail spans three blocks, and a period of 5 samples matches
// exactly only if the tail holds the true last 40 samples.
TEST(AutoCorrelateFilter, ScoresTheTruePeriodHighestAndNothingBeforeABlock)
{
    MeterRig<AutoCorrelateFilter> rig({ 16, 1000.0 });
    rig.meter.setHistoryLength(40);
    EXPECT_EQ(rig.meter.score(200.0), 1.0 / (0.0 + 1.0)) << "silence repeats at any period";

    AutoCorrelateFilter unattached;
    unattached.setHistoryLength(40);
    EXPECT_EQ(unattached.score(200.0), 0.0);

    rig.source.pushAll(sine(200.0, 1000.0, 16 * 12, 0.8, 0.2));
    EXPECT_GT(rig.meter.score(200.0), 0.999999);
    EXPECT_LT(rig.meter.score(200.0 * 2.0 / 3.0), 0.5);
    // Two periods are a period too: that is why the analyzer tries the candidate itself first.
    EXPECT_GT(rig.meter.score(200.0 * 0.5), 0.999);

    rig.meter.setHistoryLength(0);
    EXPECT_EQ(rig.meter.score(200.0), 0.0);
}

TEST(AutoCorrelateFilter, ScoresZeroForCandidatesTheBlockCannotHold)
{
    // Rate 1000 Hz, blocks of 100: a lag of 98.5 samples still fits, 99.5 reaches the end.
    MeterRig<AutoCorrelateFilter> rig({ 100, 1000.0 });
    rig.meter.setHistoryLength(40);
    const std::vector<float> x = noise(300);
    rig.source.pushAll(x);
    EXPECT_GT(rig.meter.score(1000.0 / 98.5), 0.0);
    EXPECT_EQ(rig.meter.score(1000.0 / 99.5), 0.0);
    // The lowest note's sub-multiple at 11025 Hz in blocks of 1024: a period of 1203 samples.
    EXPECT_EQ(rig.meter.score(27.5 / 3.0 * 1000.0 / 11025.0), 0.0);
    EXPECT_EQ(rig.meter.score(0.0), 0.0);
    EXPECT_EQ(rig.meter.score(-440.0), 0.0);
    EXPECT_EQ(rig.meter.score(std::numeric_limits<double>::quiet_NaN()), 0.0);
    EXPECT_EQ(rig.meter.score(std::numeric_limits<double>::denorm_min()), 0.0);
}

TEST(BandMeters, AWindowOfFourHopsMeasuresWhatOneBlockDoesAtTheSameEnd)
{
    // The meters of the analyzer with a result every hop: each measurement after a hop must be
    // the one the whole block ending there would give, or a hop's results would differ from a
    // block's for a steady sound.
    const double rate = 11025.0;
    const std::vector<float> x = sine(97.0, rate, 1024 * 8, 0.5, 0.3);
    MeterRig<PitchDetectFilter> block({ 1024, rate });
    MeterRig<PitchDetectFilter> hops({ 256, rate }, 4);
    MeterRig<EnergyDetectFilter> blockEnergy({ 1024, rate });
    MeterRig<EnergyDetectFilter> hopEnergy({ 256, rate }, 4);
    for (size_t at = 0; at < x.size(); at += 256) {
        hops.source.push(x.data() + at);
        hopEnergy.source.push(x.data() + at);
        if ((at + 256) % 1024 != 0)
            continue;
        block.source.push(x.data() + at + 256 - 1024);
        blockEnergy.source.push(x.data() + at + 256 - 1024);
        EXPECT_NEAR(hops.meter.frequency(), block.meter.frequency(), 1e-9) << at;
        EXPECT_NEAR(hopEnergy.meter.energy(), blockEnergy.meter.energy(), 1e-9) << at;
    }
    EXPECT_NEAR(hops.meter.frequency(), 97.0, 0.1);
}
