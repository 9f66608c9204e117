#include "PinwheelGeometry.h"
#include "WheelState.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace corvane;
using namespace corvane::tuner;

namespace {

const PinwheelThresholds kDefaults = CTCDefs().GetPinwheelThresholds();
const PinwheelColors kColors = CTCDefs().GetPinwheelColors();
// The classic display's update: a fifth of a second.
constexpr WheelState::Micros kFifth = WheelState::kTurnPeriod;
// The smooth display's: a sixtieth, rounded up to the microsecond.
constexpr WheelState::Micros kSixtieth { 16'667 };

// A wheel for pitch class 0 that has just heard its note `flatCents` off.
WheelState Heard(double flatCents)
{
    WheelState w;
    w.Step(0, flatCents, kDefaults, kFifth);
    return w;
}

} // namespace

TEST(WheelState, ZonesWithTheDefaultThresholdsIncludingTheirExactEdges)
{
    // Positive is flat. An edge belongs to the zone nearer the center on the sharp side and to
    // the outer zone on the flat side.
    const struct
    {
        double cents;
        int zone;
    } cases[] = { { 25, 0 }, { 12, 0 },    { 11.9, 1 }, { 8, 1 },      { 7.9, 2 },
                  { 4, 2 },  { 3.99, 3 },  { 0, 3 },    { -4, 3 },     { -4.01, 4 },
                  { -8, 4 }, { -8.01, 5 }, { -12, 5 },  { -12.01, 6 }, { -25, 6 } };
    for (const auto &c : cases)
        EXPECT_EQ(WheelState::Zone(c.cents, kDefaults), c.zone) << c.cents << " cents";
}

TEST(WheelState, TurnSpeedDependsOnlyOnHowFarOffNotOnTheZones)
{
    const struct
    {
        double cents;
        int steps;
    } cases[] = { { 25, 8 },    { 20.01, 8 },  { 20, 4 },      { 16.01, 4 },   { 16, 2 },
                  { 12.01, 2 }, { 12, 1 },     { 8.01, 1 },    { 8, 0 },       { 0, 0 },
                  { -8, 0 },    { -8.01, -1 }, { -12.01, -2 }, { -16.01, -4 }, { -20.01, -8 } };
    for (const auto &c : cases)
        EXPECT_EQ(WheelState::RotationSteps(c.cents), c.steps) << c.cents << " cents";
}

TEST(WheelState, FarFlatAndFarSharpNotesLightTheOuterZonesAndTurnOppositeWays)
{
    WheelState flat = Heard(25.0);
    WheelState sharp = Heard(-25.0);
    EXPECT_EQ(flat.mode(), WheelState::Mode::Active);
    EXPECT_EQ(flat.color(), 0);
    EXPECT_EQ(sharp.color(), 6);
    EXPECT_EQ(flat.phase(), 8);
    EXPECT_EQ(sharp.phase(), 28); // -8, wrapped into 0..35
    for (int i = 0; i < 4; ++i) {
        flat.Step(0, 25.0, kDefaults, kFifth);
        sharp.Step(0, -25.0, kDefaults, kFifth);
    }
    EXPECT_EQ(flat.phase(), 40 % 36);
    EXPECT_EQ(sharp.phase(), (36 * 2 - 40) % 36);
}

TEST(WheelState, SlightlySharpLightsTheInnerSharpZoneButStandsStill)
{
    WheelState w = Heard(-6.0);
    w.Step(0, -6.0, kDefaults, kFifth);
    EXPECT_EQ(w.color(), 4);
    EXPECT_EQ(w.phase(), 0);
}

TEST(WheelState, AfterTheNoteStopsTheWheelTurnsOnAndFadesToGrayForTenFifthsOfASecond)
{
    WheelState w = Heard(25.0); // zone 0, 128,0,0
    int phase = w.phase();
    for (int update = 1; update <= 10; ++update) {
        w.Step(WheelState::kNoNote, 0.0, kDefaults, kFifth);
        phase = (phase + 8) % 36;
        EXPECT_EQ(w.mode(), WheelState::Mode::Holding) << update;
        EXPECT_EQ(w.holdLeft(), (11 - update) * kFifth);
        EXPECT_EQ(w.color(), 0);
        EXPECT_EQ(w.phase(), phase) << "keeps the last speed";
        EXPECT_FALSE(w.idle());
    }

    // Half-way (5 of 10 left): the zone color and the idle grays weigh the same.
    WheelState half = Heard(25.0);
    for (int update = 1; update <= 6; ++update)
        half.Step(WheelState::kNoNote, 0.0, kDefaults, kFifth);
    ASSERT_EQ(half.holdLeft(), 5 * kFifth);
    const WheelPicture p = half.picture(kColors, false);
    EXPECT_EQ(p.face, (Rgb { 64 + 85, 85, 85 }));
    EXPECT_EQ(p.blades, Rgb::gray(42));

    w.Step(WheelState::kNoNote, 0.0, kDefaults, kFifth);
    EXPECT_EQ(w.mode(), WheelState::Mode::Idle);
    EXPECT_EQ(w.color(), WheelState::kOffColor);
    EXPECT_FALSE(w.idle()) << "the step into idle still needs its last paint";
    EXPECT_EQ(w.picture(kColors, false).face, Rgb::gray(170));
    EXPECT_EQ(w.picture(kColors, false).blades, Rgb::gray(85));
    w.Step(WheelState::kNoNote, 0.0, kDefaults, kFifth);
    EXPECT_TRUE(w.idle());
}

TEST(WheelState, TheNoteReturningDuringTheHoldLightsTheWheelAgainAtItsNewDeviation)
{
    WheelState w = Heard(25.0);
    w.Step(WheelState::kNoNote, 0.0, kDefaults, kFifth);
    w.Step(WheelState::kNoNote, 0.0, kDefaults, kFifth);
    w.Step(0, -10.0, kDefaults, kFifth);
    EXPECT_EQ(w.mode(), WheelState::Mode::Active);
    EXPECT_EQ(w.color(), 5);
    EXPECT_EQ(w.picture(kColors, false).face, Rgb::fromColorRef(kColors[5]));
    EXPECT_EQ(w.picture(kColors, false).blades, Rgb::gray(0));
}

TEST(WheelState, AtSixtyUpdatesASecondTheWheelTurnsAndFadesByTheClockNotByTheUpdates)
{
    // Ten cents flat turns one step a fifth of a second: twelve sixtieths make the step, eleven
    // do not (counted per update it would have turned eleven steps).
    WheelState slow;
    for (int update = 1; update <= 11; ++update)
        slow.Step(0, 10.0, kDefaults, kSixtieth);
    EXPECT_EQ(slow.phase(), 0);
    slow.Step(0, 10.0, kDefaults, kSixtieth);
    EXPECT_EQ(slow.phase(), 1);

    // A second of a far-flat note: forty steps, as five classic updates turn it.
    WheelState fast;
    for (int update = 1; update <= 60; ++update)
        fast.Step(0, 25.0, kDefaults, kSixtieth);
    EXPECT_EQ(fast.phase(), 40 % 36);

    // The hold lasts two seconds from the update that heard the note stop: 119 sixtieths after
    // it the wheel still fades, the 120th ends it.
    fast.Step(WheelState::kNoNote, 0.0, kDefaults, kSixtieth);
    for (int update = 1; update <= 119; ++update)
        fast.Step(WheelState::kNoNote, 0.0, kDefaults, kSixtieth);
    EXPECT_EQ(fast.mode(), WheelState::Mode::Holding);
    EXPECT_EQ(fast.picture(kColors, false).face, (Rgb { 1 + 168, 168, 168 }))
            << "nearly faded: a hundredth of the zone color left";
    fast.Step(WheelState::kNoNote, 0.0, kDefaults, kSixtieth);
    EXPECT_EQ(fast.mode(), WheelState::Mode::Idle);

    // No time, or time running backwards, moves nothing.
    WheelState still = Heard(25.0);
    still.Step(0, 25.0, kDefaults, WheelState::Micros { 0 });
    still.Step(0, 25.0, kDefaults, WheelState::Micros { -500'000 });
    EXPECT_EQ(still.phase(), 8);
}

TEST(WheelState, AReleasedHoldGoesIdleAtOnceWhileALitWheelStaysLit)
{
    WheelState holding = Heard(25.0);
    holding.Step(WheelState::kNoNote, 0.0, kDefaults, kFifth);
    ASSERT_EQ(holding.mode(), WheelState::Mode::Holding);
    holding.Release();
    EXPECT_EQ(holding.mode(), WheelState::Mode::Idle);
    EXPECT_EQ(holding.color(), WheelState::kOffColor);
    EXPECT_FALSE(holding.idle()) << "it changed, so it is painted once more";

    WheelState lit = Heard(25.0);
    lit.Release();
    EXPECT_EQ(lit.mode(), WheelState::Mode::Active);
    EXPECT_EQ(lit.color(), 0);
}

TEST(WheelState, TheBackgroundSaysWhetherTheDegreeIsInTheScale)
{
    WheelState w;
    w.SetName("F#x");
    EXPECT_EQ(w.name(), "F#");
    const WheelPicture chromatic = w.picture(kColors, true);
    const WheelPicture scale = w.picture(kColors, false);
    EXPECT_EQ(chromatic.background, Rgb::gray(60));
    EXPECT_EQ(chromatic.text, Rgb::gray(255));
    EXPECT_EQ(scale.background, Rgb::gray(200));
    EXPECT_EQ(scale.text, Rgb::gray(0));
    EXPECT_EQ(scale.name, "F#");
}

TEST(PinwheelGeometry, IncreasingPhaseTurnsTheBladesCounterClockwise)
{
    // On a round face the blades start at 12 o'clock, a quarter turn apart, 45 degrees wide.
    const PinwheelGeometry still = PinwheelGeometry::For(100, 100, 0, 100);
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(std::remainder(still.blades[k].start - (90.0 + 90.0 * k), 360.0), 0.0, 1e-9);
        EXPECT_NEAR(still.blades[k].span, 45.0, 1e-9);
    }
    const PinwheelGeometry turned = PinwheelGeometry::For(100, 100, 4, 100);
    EXPECT_NEAR(turned.blades[0].start, 100.0, 1e-9);

    // On the usual tall face the hub sits above the face's center: the upper blade narrows and
    // the lower one widens.
    const PinwheelGeometry tall = PinwheelGeometry::For(100, 125, 0, 100);
    EXPECT_LT(tall.blades[0].span, 45.0);
    EXPECT_GT(tall.blades[2].span, 45.0);
}
