#include "PassageScore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace corvane::accuracy;

namespace {

// G3 A3 B3 C4, legato, half a second each from 1.0 s.
std::vector<PassageNote> legatoPhrase()
{
    const double hz[] = { 196.0, 220.0, 246.9, 261.6 };
    std::vector<PassageNote> notes;
    for (int i = 0; i < 4; ++i)
        notes.push_back({ 1.0 + 0.5 * i, 1.5 + 0.5 * i, hz[i] });
    return notes;
}

// A frame every 10 ms from 0.5 to 3.5 s naming what `pitchAt` says.
template<typename F>
std::vector<PitchFrame> track(F pitchAt)
{
    std::vector<PitchFrame> frames;
    for (int k = 0; k <= 300; ++k) {
        const double t = 0.5 + 0.01 * k;
        frames.push_back({ t, pitchAt(t) });
    }
    return frames;
}

// The pitch a tracker `lag` seconds late would name: the note sounding then, a little sharp.
double sounding(const std::vector<PassageNote> &notes, double t, double lag, double cents = 3.0)
{
    for (const PassageNote &n : notes)
        if (t - lag >= n.onset && t - lag < n.off)
            return n.hz * std::pow(2.0, cents / 1200.0);
    return 0.0;
}

} // namespace

TEST(PassageScore, aTrackerOnTimeIsRightInEveryFrameAndPlacesEveryChange)
{
    const auto notes = legatoPhrase();
    const PassageScore s =
            scorePhrase(track([&](double t) { return sounding(notes, t, 0.0); }), notes);
    // 2 s of notes at 10 ms, less the guard of 30 ms on either side of the three inner
    // changes and after the first onset: 200 - 3 * 6 - 3 frames (t = 1.00 ... 1.02 and the
    // frames on the guards' edges are out).
    EXPECT_NEAR(s.frames, 200 - 3 * 6 - 3, 3);
    EXPECT_EQ(s.within50, s.frames);
    EXPECT_EQ(s.within5, s.frames);
    EXPECT_NEAR(s.absCents.front(), 3.0, 1e-9);
    ASSERT_EQ(s.changeErrors.size(), 4u);
    for (double e : s.changeErrors)
        EXPECT_NEAR(e, 0.0, 1e-9);
    EXPECT_EQ(s.missedChanges, 0);
    EXPECT_EQ(s.neverLocked, 0);
    EXPECT_EQ(s.ghosts, 0);
    EXPECT_DOUBLE_EQ(s.seconds, 2.0);
}

TEST(PassageScore, aLateTrackerIsLateAtEveryChangeMissesTheFramesBeforeAndMakesNoGhost)
{
    const auto notes = legatoPhrase();
    const PassageScore s =
            scorePhrase(track([&](double t) { return sounding(notes, t, 0.1); }), notes);
    ASSERT_EQ(s.changeErrors.size(), 4u);
    for (double e : s.changeErrors)
        EXPECT_NEAR(e, 0.1, 0.011);
    for (double l : s.lockSeconds)
        EXPECT_NEAR(l, 0.1, 0.011);
    // In each note the frames from the guard's end to 0.1 s name the previous note or nothing:
    // 7 of about 44 frames.
    EXPECT_NEAR(static_cast<double>(s.within50) / s.frames, 37.0 / 44.0, 0.03);
    EXPECT_EQ(s.ghosts, 0) << "holding the previous note is lateness, not a wrong note";
    EXPECT_EQ(s.heldOver, 3) << "one run past each legato change; the first note had none before";
}

TEST(PassageScore, ghostsAreRunsOfWrongNotesAndThePreviousNoteComingBack)
{
    const auto notes = legatoPhrase();
    const PassageScore s = scorePhrase(track([&](double t) {
                                           if (t > 1.2 && t < 1.25)
                                               return 392.0; // an octave up: one run, one ghost
                                           if (t > 1.6 && t < 1.62)
                                               return 196.0; // G3 again after A3 was named
                                           if (t > 2.3 && t < 2.32)
                                               return 300.0; // two wrong notes in a row: two
                                           if (t > 2.32 && t < 2.34)
                                               return 330.0;
                                           if (t > 2.45 && t < 2.5)
                                               return 261.6; // C4 early: not a ghost
                                           if (t > 2.7 && t < 2.75)
                                               return 0.0; // no pitch: a miss, not a ghost
                                           return sounding(notes, t, 0.0);
                                       }),
                                       notes);
    EXPECT_EQ(s.ghosts, 4);
    EXPECT_EQ(s.heldOver, 0);
    // The early C4 is the first frame naming it: the change is placed early.
    EXPECT_NEAR(s.changeErrors.back(), -0.04, 0.006);
    EXPECT_LT(s.within50, s.frames);
}

TEST(PassageScore, aNoteNoFrameNamesIsMissedAndNeverLockedAndARepeatedNoteIsNoChange)
{
    auto notes = legatoPhrase();
    notes[2].hz = notes[1].hz; // A3 A3: no change of pitch at 2.0 s
    const PassageScore s = scorePhrase(
            track([&](double t) { return t >= 2.5 && t < 3.0 ? 0.0 : sounding(notes, t, 0.0); }),
            notes);
    EXPECT_EQ(s.changes, 3);
    EXPECT_EQ(s.missedChanges, 1);
    EXPECT_EQ(s.notes, 4);
    EXPECT_EQ(s.neverLocked, 1);
    EXPECT_EQ(s.ghosts, 0);
}

TEST(PassageScore, framesOutsideThePhraseAreNotScoredAndScoresAdd)
{
    const std::vector<PassageNote> detached = { { 1.0, 1.2, 440.0 }, { 1.5, 1.7, 494.0 } };
    // A tracker that names A4 through the gap and some wrong note long after the phrase.
    const PassageScore s = scorePhrase(
            track([](double t) { return t < 1.5    ? 440.0
                                         : t < 1.8 ? 494.0
                                                   : 100.0; }), detached);
    EXPECT_EQ(s.ghosts, 1) << "only the wrong note in the phrase's ring, up to 0.15 s after it";
    EXPECT_EQ(s.within50, s.frames);
    PassageScore both = s;
    both.add(s);
    EXPECT_EQ(both.frames, 2 * s.frames);
    EXPECT_EQ(both.changeErrors.size(), 4u);
    EXPECT_DOUBLE_EQ(both.seconds, 1.4);
}

TEST(PassageScore, quantileTakesTheNearestRank)
{
    EXPECT_EQ(quantile({}, 0.9), 0.0);
    EXPECT_EQ(quantile({ 5.0, 1.0, 3.0, 2.0, 4.0, 6.0, 7.0, 8.0, 9.0, 10.0 }, 0.9), 9.0);
    EXPECT_EQ(quantile({ 2.0, 1.0 }, 0.0), 1.0);
    EXPECT_EQ(quantile({ 2.0, 1.0 }, 1.0), 2.0);
}
