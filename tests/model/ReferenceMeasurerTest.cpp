#include "ReferenceMeasurer.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace corvane;

namespace {

constexpr int kA4 = 48;
constexpr double kBlock = 1024.0 / 11025.0; // 0.093 s

void hold(ReferenceMeasurer &measurer, double hz, double seconds, bool stable = true)
{
    for (double t = 0.0; t < seconds - 1e-9; t += kBlock)
        measurer.add(hz, stable, kBlock);
}

} // namespace

TEST(ReferenceMeasurer, SettlesAfterASecondAndTakesTheMedianOfUpToTwo)
{
    ReferenceMeasurer measurer(kA4, 0.0, 440.0);
    EXPECT_EQ(measurer.state(), ReferenceMeasurer::State::Listening);
    hold(measurer, 442.0, 0.5);
    EXPECT_EQ(measurer.state(), ReferenceMeasurer::State::Settling);
    EXPECT_EQ(measurer.measuredHz(), 0.0);
    // An unsteady block before the note settled starts the count again.
    measurer.add(442.0, false, kBlock);
    EXPECT_EQ(measurer.state(), ReferenceMeasurer::State::Listening);
    hold(measurer, 442.0, 0.9);
    measurer.add(460.0, true, kBlock); // a stray reading, outvoted by the median
    EXPECT_EQ(measurer.state(), ReferenceMeasurer::State::Measured);
    EXPECT_FALSE(measurer.done());
    EXPECT_DOUBLE_EQ(measurer.measuredHz(), 442.0);
    EXPECT_DOUBLE_EQ(measurer.referenceHz(), 442.0);
    hold(measurer, 441.0, 2.0);
    EXPECT_TRUE(measurer.done());
    // Two seconds heard: ten readings of 442 and one of 460, then eleven of 441.
    EXPECT_DOUBLE_EQ(measurer.measuredHz(), 441.5);
    hold(measurer, 300.0, 1.0); // after the end, nothing counts
    EXPECT_DOUBLE_EQ(measurer.measuredHz(), 441.5);
}

TEST(ReferenceMeasurer, TheNoteEndingAfterItSettledEndsTheMeasurement)
{
    ReferenceMeasurer measurer(kA4, 0.0, 440.0);
    hold(measurer, 438.0, 1.2);
    measurer.add(0.0, false, kBlock);
    EXPECT_TRUE(measurer.done());
    EXPECT_DOUBLE_EQ(measurer.referenceHz(), 438.0);
}

// Another note, a temperament, a reference a semitone away, and the range the program takes.
TEST(ReferenceMeasurer, TheReferenceKeepsTheChosenNoteInTuneInTheTemperament)
{
    // C5 (index 51) in a temperament that lowers it 10 cents, played at the tempered pitch of
    // a 442 Hz reference: the reference comes back as 442.
    const double c5 = 442.0 * std::exp2((3.0 - 0.1) / 12.0);
    ReferenceMeasurer c(51, -10.0, 440.0);
    hold(c, c5, 2.0);
    EXPECT_NEAR(c.referenceHz(), 442.0, 1e-9);

    // Baroque pitch: A5 played at 830 Hz, 101 cents under its place on 440, is still A5.
    ReferenceMeasurer baroque(60, 0.0, 440.0);
    EXPECT_NEAR(baroque.expectedHz(), 880.0, 1e-9);
    hold(baroque, 830.0, 2.0);
    EXPECT_EQ(baroque.state(), ReferenceMeasurer::State::Measured);
    EXPECT_NEAR(baroque.referenceHz(), 415.0, 1e-9);
    // Two semitones off is another note: nothing is measured.
    ReferenceMeasurer far(kA4, 0.0, 440.0);
    hold(far, 493.9, 2.0);
    EXPECT_EQ(far.state(), ReferenceMeasurer::State::Listening);

    // A4 heard at 900 Hz (on an 880 Hz reference) gives a reference the program does not take.
    ReferenceMeasurer high(kA4, 0.0, 880.0);
    hold(high, 900.0, 2.0);
    EXPECT_EQ(high.state(), ReferenceMeasurer::State::OutOfRange);
    EXPECT_DOUBLE_EQ(high.referenceHz(), 900.0);
}
