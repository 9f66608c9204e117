#include "CPitch.h"
#include "PostProcessing.h"

#include <gtest/gtest.h>

#include <vector>

using namespace corvane;

namespace {

// One sample per frequency; a frequency of 0 makes a silent, unvoiced block.
void fill(SampleList &samples, const std::vector<double> &hz, double level = 0.5)
{
    samples.clear();
    for (double f : hz) {
        CSample &sample = samples.append();
        sample.setFrequency(f, CPitch());
        sample.setLevel(f > 0.0 ? level : 0.0);
    }
}

std::vector<double> frequencies(const SampleList &samples)
{
    std::vector<double> hz;
    for (const CSample &sample : samples)
        hz.push_back(sample.frequency());
    return hz;
}

} // namespace

TEST(PostProcessing, VoicedMeansAboveHalfTheNoiseThreshold)
{
    SampleList samples;
    for (double level : { 0.0, 0.1, 0.1001, 0.9 })
        samples.append().setLevel(level);
    postProcess(samples, 0.2, CPitch(), 1024);
    std::vector<bool> voiced;
    for (const CSample &sample : samples)
        voiced.push_back(sample.voiced());
    EXPECT_EQ(voiced, (std::vector<bool> { false, false, true, true }));
}

TEST(PostProcessing, MedianOfAnEvenCountTakesTheMiddleValueNearerTheCenter)
{
    const struct
    {
        std::vector<double> values;
        double center, median;
    } cases[] = { { { 3, 1, 2 }, 100, 2 },
                  { { 4, 1, 3, 2 }, 2.9, 3 },
                  { { 4, 1, 3, 2 }, 0, 2 },
                  { { 1, 3 }, 2, 1 } }; // a tie takes the lower
    for (auto c : cases)
        EXPECT_EQ(medianNear(c.values.data(), c.values.size(), c.center), c.median) << c.center;
}

TEST(PostProcessing, AnOctaveSlipInsideASteadyNoteIsSmoothedAway)
{
    SampleList samples;
    fill(samples, { 440, 440, 440, 880, 440, 440, 440 });
    postProcess(samples, 0.2, CPitch(), 1024);
    for (const CSample &sample : samples) {
        EXPECT_DOUBLE_EQ(sample.frequency(), 440.0);
        EXPECT_TRUE(sample.stable());
    }
    EXPECT_EQ(samples[3].note(), samples[2].note());
}

TEST(PostProcessing, SmoothingLooksOnlyAtVoicedNeighborsAndLeavesTheEndsAlone)
{
    SampleList samples;
    // The slip at index 3 is fenced off by silence on one side: its window holds only 440,
    // 880 and one more 440, too few to outvote it at window 5, and window 3 never replaces an
    // octave.
    fill(samples, { 440, 440, 440, 880, 0, 440, 440 });
    postProcess(samples, 0.2, CPitch(), 1024);
    EXPECT_DOUBLE_EQ(samples[3].frequency(), 880.0);
    EXPECT_TRUE(samples[3].isolated());

    // Slips at either end are closer to the end than half a window.
    fill(samples, { 880, 440, 440, 440, 440, 440, 880 });
    postProcess(samples, 0.2, CPitch(), 1024);
    EXPECT_DOUBLE_EQ(samples[0].frequency(), 880.0);
    EXPECT_DOUBLE_EQ(samples[6].frequency(), 880.0);

    // A list shorter than the window is not touched.
    fill(samples, { 440, 880, 440 });
    smoothFrequencies(samples, 5, CPitch());
    EXPECT_EQ(frequencies(samples), (std::vector<double> { 440, 880, 440 }));
}

TEST(PostProcessing, EachCenterSeesItsNeighborsBeforeThePassChangedThem)
{
    // The octave slip at index 3 is corrected to 440. Had index 4 then seen that corrected
    // value, its window would hold four 440s against itself and be pulled down a semitone; on
    // the unsmoothed values it keeps its 466 Hz.
    SampleList samples;
    fill(samples, { 440, 440, 440, 880, 466.16, 440, 440 });
    markVoicing(samples, 0.1);
    smoothFrequencies(samples, 5, CPitch());
    EXPECT_EQ(frequencies(samples), (std::vector<double> { 440, 440, 440, 440, 466.16, 440, 440 }));
}

TEST(PostProcessing, StabilityNeedsAVoicedNeighborWithinFiftyCents)
{
    SampleList samples;
    // 440 -> 452 is about 46.6 cents, 440 -> 455 about 58 cents.
    fill(samples, { 0, 440, 0, 440, 452, 0, 440, 455, 0 });
    markVoicing(samples, 0.1);
    markStability(samples);
    EXPECT_TRUE(samples[1].isolated());
    EXPECT_FALSE(samples[1].stable());
    EXPECT_TRUE(samples[3].stable());
    EXPECT_TRUE(samples[4].stable());
    EXPECT_TRUE(samples[6].isolated());
    EXPECT_TRUE(samples[7].isolated());
    EXPECT_FALSE(samples[0].stable());
    EXPECT_FALSE(samples[0].isolated());
}
