// The engine's small measures: the frequency fold, the load meter and the overrun warnings.

#include "CPitch.h"
#include "FrequencyFold.h"
#include "LoadMeter.h"
#include "OverrunCounter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace corvane;
using namespace corvane::tuner;

TEST(FrequencyFold, BringsAnyPitchIntoTheLowestOctaveWithoutChangingItsClass)
{
    CPitch pitch;
    EXPECT_DOUBLE_EQ(foldIntoLowestOctave(pitch, 440.0), 27.5);
    EXPECT_DOUBLE_EQ(foldIntoLowestOctave(pitch, 27.5), 27.5);
    // E2 lands on the E of the lowest octave (pitch class 7), whatever octave it came from.
    EXPECT_EQ(pitch.NoteIndex(foldIntoLowestOctave(pitch, 82.41)), 7);
    EXPECT_EQ(pitch.NoteIndex(foldIntoLowestOctave(pitch, 82.41 * 32)), 7);
    // A G# just under the next A's lower boundary stays in the octave.
    EXPECT_LT(pitch.NoteIndex(foldIntoLowestOctave(pitch, 51.0)), 12);
}

TEST(FrequencyFold, NothingHeardForValuesThatCannotBeHalvedIntoRange)
{
    CPitch pitch;
    for (double hz :
         { 0.0, -440.0, std::numeric_limits<double>::quiet_NaN(),
           std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity() })
        EXPECT_EQ(foldIntoLowestOctave(pitch, hz), 0.0) << hz;
    EXPECT_GT(foldIntoLowestOctave(pitch, std::numeric_limits<double>::max()), 0.0);
}

TEST(LoadMeter, AveragesBusyOverBudgetAndStartsAgainAfterEachReading)
{
    LoadMeter meter;
    meter.addCapture(10.0, 92.9);
    meter.addCapture(30.0, 92.9);
    meter.addPlayback(5.0, 1000.0);
    EXPECT_NEAR(meter.captureLoad(), 40.0 / 185.8, 1e-12);
    EXPECT_NEAR(meter.playbackLoad(), 0.005, 1e-12);
    EXPECT_EQ(meter.captureLoad(), 0.0);
    EXPECT_EQ(meter.playbackLoad(), 0.0);
}

TEST(LoadMeter, NoBudgetIsNoLoadAndTheBarsStayWithinTheirRange)
{
    LoadMeter meter;
    EXPECT_EQ(meter.captureLoad(), 0.0); // before the first block
    meter.addPlayback(3.0, 0.0);         // a block of no length
    EXPECT_EQ(meter.playbackLoad(), 0.0);

    EXPECT_EQ(LoadMeter::percent(0.4567), 45);
    EXPECT_EQ(LoadMeter::percent(1.7), 100);
    EXPECT_EQ(LoadMeter::percent(-0.2), 0);
    EXPECT_EQ(LoadMeter::percent(std::nan("")), 0);
    EXPECT_EQ(LoadMeter::percent(std::numeric_limits<double>::infinity()), 100);
}

TEST(OverrunCounter, WarnsAtTheFiftiethOverrunAndThenAtEveryThreeHundredth)
{
    OverrunCounter counter;
    std::uint64_t total = 0;
    auto warningsUpTo = [&](std::uint64_t last) {
        int warnings = 0;
        std::uint64_t at = 0;
        while (total < last)
            if (counter.observe(++total)) {
                ++warnings;
                at = total;
            }
        return std::pair { warnings, at };
    };
    EXPECT_EQ(warningsUpTo(49).first, 0);
    EXPECT_EQ(warningsUpTo(50), (std::pair { 1, std::uint64_t(50) }));
    EXPECT_EQ(warningsUpTo(349).first, 0);
    EXPECT_EQ(warningsUpTo(350), (std::pair { 1, std::uint64_t(350) }));
    EXPECT_EQ(warningsUpTo(650).first, 1);
}

TEST(OverrunCounter, ABurstWarnsOnceAndARestartedCaptureCountsOnFromItsOwnStart)
{
    OverrunCounter counter;
    EXPECT_FALSE(counter.observe(0));
    EXPECT_TRUE(counter.observe(1000)); // one box, not three
    EXPECT_FALSE(counter.observe(1000));
    EXPECT_EQ(counter.remaining(), 300);
    // The devices restarted: their count begins again at 0, and those overruns are new.
    EXPECT_FALSE(counter.observe(299));
    EXPECT_TRUE(counter.observe(300));
}
