#include "CPitch.h"
#include "KeyContext.h"
#include "PinwheelBoard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace corvane;
using namespace corvane::tuner;

namespace {

// The lowest octave of the note table, where the tuner folds every frequency.
constexpr double kA0 = 27.5;
double Note(int semitonesAboveA0, double centsSharp = 0.0)
{
    return kA0 * std::pow(2.0, semitonesAboveA0 / 12.0 + centsSharp / 1200.0);
}

// C major, as the tuner starts: degree 0 is C (pitch class 3), degree 9 is A.
class PinwheelBoardTest : public ::testing::Test
{
protected:
    PinwheelBoardTest() { board.Relabel(keys); }

    // One classic update (a fifth of a second) with a fresh result.
    PinwheelBoard::WheelMask Hear(double f)
    {
        return board.Update(f, pitch, keys, adjust, limits, WheelState::kTurnPeriod);
    }

    CPitch pitch;
    KeyContext keys;
    DegreeFloats adjust {};
    PinwheelThresholds limits = CTCDefs().GetPinwheelThresholds();
    PinwheelBoard board;
};

constexpr int kDo = 0;
constexpr int kLa = 9;

} // namespace

TEST_F(PinwheelBoardTest, RelabelNamesTheDegreesAsWrittenInTheKey)
{
    EXPECT_EQ(board.wheel(kDo).name(), "C");
    EXPECT_EQ(board.wheel(kDo).pitchClass(), 3);
    EXPECT_EQ(board.wheel(kLa).pitchClass(), 0);
    ASSERT_TRUE(keys.SetKey(8)); // G major
    board.Relabel(keys);
    EXPECT_EQ(board.wheel(kDo).name(), "G");
    EXPECT_EQ(board.wheel(6).name(), "C#");
}

TEST_F(PinwheelBoardTest, SilenceAndBrokenFrequenciesNeverLightAWheel)
{
    for (double f : { 0.0, -55.0, std::numeric_limits<double>::quiet_NaN() }) {
        EXPECT_TRUE(Hear(f).none()) << f;
        for (int d = 0; d < kDegreeCount; ++d)
            EXPECT_EQ(board.wheel(d).mode(), WheelState::Mode::Idle) << f;
    }
}

TEST_F(PinwheelBoardTest, TheWheelOfTheNoteHeardLightsInTheColorOfItsDeviation)
{
    const auto changed = Hear(Note(3, -25.0)); // C, 25 cents flat
    EXPECT_EQ(changed, PinwheelBoard::WheelMask().set(kDo));
    EXPECT_EQ(board.wheel(kDo).color(), 0);
    EXPECT_EQ(board.wheel(kDo).phase(), 8) << "flat turns forwards";
    EXPECT_NEAR(board.wheel(kDo).lastCents(), 25.0, 1e-6);

    Hear(Note(3, 6.0)); // now 6 cents sharp
    EXPECT_EQ(board.wheel(kDo).color(), 4);
    EXPECT_EQ(board.wheel(kDo).phase(), 8);
}

TEST_F(PinwheelBoardTest, TheDeviationIsFromTheTemperedPitch)
{
    adjust[kDo] = 10.0f; // C tuned 10 cents high: an equal-tempered C is now 10 flat
    Hear(Note(3));
    EXPECT_NEAR(board.wheel(kDo).lastCents(), 10.0, 1e-6);
    EXPECT_EQ(board.wheel(kDo).color(), 1);
}

TEST_F(PinwheelBoardTest, AFlatAJustBelowTheTopOfTheFoldedOctaveStillLightsTheAWheel)
{
    // 10 cents below A1 lies in A1's capture band: the A wheel, 10 cents flat.
    Hear(Note(12, -10.0));
    EXPECT_EQ(board.wheel(kLa).mode(), WheelState::Mode::Active);
    EXPECT_NEAR(board.wheel(kLa).lastCents(), 10.0, 1e-6);
}

TEST_F(PinwheelBoardTest, ClassicallyANewNoteLightsAtOnceWhileTheOldWheelHoldsOn)
{
    board.SetHoldBesideNewNote(true);
    Hear(Note(0, 25.0)); // A
    const auto changed = Hear(Note(3));
    EXPECT_EQ(board.wheel(kLa).mode(), WheelState::Mode::Holding);
    EXPECT_EQ(board.wheel(kDo).mode(), WheelState::Mode::Active);
    EXPECT_EQ(changed, PinwheelBoard::WheelMask().set(kDo).set(kLa));
    for (int i = 0; i < 10; ++i)
        Hear(Note(3));
    EXPECT_EQ(board.wheel(kLa).mode(), WheelState::Mode::Idle);
    EXPECT_EQ(Hear(Note(3)), PinwheelBoard::WheelMask().set(kDo)) << "idle wheels are not painted";
}

TEST_F(PinwheelBoardTest, SmoothlyTheOldWheelGoesOutAsSoonAsANewNoteIsHeard)
{
    Hear(Note(0, 25.0)); // A
    const auto changed = Hear(Note(3));
    EXPECT_EQ(board.wheel(kLa).mode(), WheelState::Mode::Idle) << "not two wheels lit";
    EXPECT_EQ(board.wheel(kDo).mode(), WheelState::Mode::Active);
    EXPECT_EQ(changed, PinwheelBoard::WheelMask().set(kDo).set(kLa)) << "the A painted out";

    // Silence after a note still holds it: there is no new note to give way to.
    Hear(0.0);
    EXPECT_EQ(board.wheel(kDo).mode(), WheelState::Mode::Holding);
}

TEST_F(PinwheelBoardTest, TheFiguresTakeFiveReadingsASecondHoweverOftenResultsCome)
{
    // A held A for one second, a fresh result every 23 ms shown at sixty updates a second: the
    // figures count it as the five-a-second display did, so that the practice log's counts mean
    // the same with either display.
    const WheelState::Micros sixtieth { 16'667 };
    Hear(Note(0, 8.0)); // the attack
    WheelState::Micros sinceResult { 0 };
    for (int update = 0; update < 60; ++update) {
        sinceResult += sixtieth;
        const bool fresh = sinceResult >= WheelState::Micros { 23'220 };
        if (fresh)
            sinceResult -= WheelState::Micros { 23'220 };
        board.Update(Note(0, 8.0), pitch, keys, adjust, limits, sixtieth, fresh);
    }
    EXPECT_GE(board.intonation(kLa).count, 5);
    EXPECT_LE(board.intonation(kLa).count, 6);
    EXPECT_NEAR(board.intonation(kLa).meanCents, 8.0, 0.01);
}

TEST_F(PinwheelBoardTest, EachDegreeKeepsHowInTuneItWasPlayedAcrossAChangeOfKey)
{
    // A 8 cents sharp five times, C 3 cents flat three times, and silence, which counts for
    // nothing; each note's first update is its attack and does not count either.
    Hear(Note(0, 30.0));
    for (int i = 0; i < 5; ++i)
        Hear(Note(0, 8.0));
    Hear(Note(3, -40.0));
    for (int i = 0; i < 3; ++i)
        Hear(Note(3, -3.0));
    Hear(0.0);
    EXPECT_EQ(board.intonation(kLa).count, 5);
    EXPECT_NEAR(board.intonation(kLa).meanCents, 8.0, 0.01) << "positive: sharp";
    EXPECT_EQ(board.intonation(kLa).inTuneShare(), 0.0);
    EXPECT_NEAR(board.intonation(kDo).meanCents, -3.0, 0.01);
    EXPECT_EQ(board.intonation(kDo).inTuneShare(), 1.0) << "within the middle zone of 4 cents";
    EXPECT_EQ(board.intonation(1).count, 0);

    // In G major the A is degree 2 and the C degree 5: the figures follow the notes.
    ASSERT_TRUE(keys.SetKey(8));
    board.Relabel(keys);
    EXPECT_EQ(board.intonation(2).count, 5);
    EXPECT_EQ(board.intonation(5).count, 3);

    board.ResetIntonation();
    EXPECT_EQ(board.intonation(2).count, 0);

    // The run keeps all it heard for the practice log, counted from C, reset or not.
    Hear(Note(0, 8.0)); // an attack out of silence, not counted
    IntonationStatistics run(4.0);
    run.add(9, 8.0); // an earlier window's A
    board.AddHeardTo(run);
    EXPECT_EQ(run.degree(9).count, 5 + 1);
    EXPECT_NEAR(run.degree(9).meanCents, 8.0, 0.01);
    EXPECT_EQ(run.degree(0).count, 3) << "the C";
    EXPECT_EQ(run.degree(0).inTune, 3);
}
