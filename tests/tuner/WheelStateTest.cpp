#include "PinwheelGeometry.h"
#include "WheelState.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace corvane;
using namespace corvane::tuner;

namespace {

const PinwheelThresholds kDefaults = CTCDefs().GetPinwheelThresholds();
const PinwheelColors kColors = CTCDefs().GetPinwheelColors();

// A wheel for pitch class 0 that has just heard its note `flatCents` off.
WheelState Heard(double flatCents)
{
    WheelState w;
    w.Step(0, flatCents, kDefaults);
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
        flat.Step(0, 25.0, kDefaults);
        sharp.Step(0, -25.0, kDefaults);
    }
    EXPECT_EQ(flat.phase(), 40 % 36);
    EXPECT_EQ(sharp.phase(), (36 * 2 - 40) % 36);
}

TEST(WheelState, SlightlySharpLightsTheInnerSharpZoneButStandsStill)
{
    WheelState w = Heard(-6.0);
    w.Step(0, -6.0, kDefaults);
    EXPECT_EQ(w.color(), 4);
    EXPECT_EQ(w.phase(), 0);
}

TEST(WheelState, AfterTheNoteStopsTheWheelTurnsOnAndFadesToGrayForTenUpdates)
{
    WheelState w = Heard(25.0); // zone 0, 128,0,0
    ASSERT_EQ(w.holdLength(), 10);
    int phase = w.phase();
    for (int update = 1; update <= 10; ++update) {
        w.Step(WheelState::kNoNote, 0.0, kDefaults);
        phase = (phase + 8) % 36;
        EXPECT_EQ(w.mode(), WheelState::Mode::Holding) << update;
        EXPECT_EQ(w.holdLeft(), 11 - update);
        EXPECT_EQ(w.color(), 0);
        EXPECT_EQ(w.phase(), phase) << "keeps the last speed";
        EXPECT_FALSE(w.idle());
    }

    // Half-way (5 of 10 left): the zone color and the idle grays weigh the same.
    WheelState half = Heard(25.0);
    for (int update = 1; update <= 6; ++update)
        half.Step(WheelState::kNoNote, 0.0, kDefaults);
    ASSERT_EQ(half.holdLeft(), 5);
    const WheelPicture p = half.picture(kColors, false);
    EXPECT_EQ(p.face, (Rgb { 64 + 85, 85, 85 }));
    EXPECT_EQ(p.blades, Rgb::gray(42));

    w.Step(WheelState::kNoNote, 0.0, kDefaults);
    EXPECT_EQ(w.mode(), WheelState::Mode::Idle);
    EXPECT_EQ(w.color(), WheelState::kOffColor);
    EXPECT_FALSE(w.idle()) << "the step into idle still needs its last paint";
    EXPECT_EQ(w.picture(kColors, false).face, Rgb::gray(170));
    EXPECT_EQ(w.picture(kColors, false).blades, Rgb::gray(85));
    w.Step(WheelState::kNoNote, 0.0, kDefaults);
    EXPECT_TRUE(w.idle());
}

TEST(WheelState, TheNoteReturningDuringTheHoldLightsTheWheelAgainAtItsNewDeviation)
{
    WheelState w = Heard(25.0);
    w.Step(WheelState::kNoNote, 0.0, kDefaults);
    w.Step(WheelState::kNoNote, 0.0, kDefaults);
    w.Step(0, -10.0, kDefaults);
    EXPECT_EQ(w.mode(), WheelState::Mode::Active);
    EXPECT_EQ(w.color(), 5);
    EXPECT_EQ(w.picture(kColors, false).face, Rgb::fromColorRef(kColors[5]));
    EXPECT_EQ(w.picture(kColors, false).blades, Rgb::gray(0));
}

TEST(WheelState, ARateOfZeroStillGivesAHoldAndAFiniteFade)
{
    WheelState w;
    w.SetRate(0);
    EXPECT_EQ(w.rate(), 1);
    EXPECT_EQ(w.holdLength(), 2);
    w.Step(0, 25.0, kDefaults);
    w.Step(WheelState::kNoNote, 0.0, kDefaults);
    w.Step(WheelState::kNoNote, 0.0, kDefaults);
    EXPECT_EQ(w.holdLeft(), 1);
    EXPECT_EQ(w.picture(kColors, false).face, (Rgb { 64 + 85, 85, 85 }));
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
