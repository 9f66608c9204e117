#include "CTCDefs.h"
#include "WheelTexts.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::tuner;

TEST(IntonationTip, SaysTheFiguresAndTheDirectionInWords)
{
    IntonationFigures figures;
    EXPECT_EQ(IntonationTip("F#", figures), "F#: not heard yet");
    figures.add(-6.0, 4.0);
    EXPECT_EQ(IntonationTip("Bb", figures),
              "Bb: 1 reading, on average 6.0 cents flat (spread 0.0 cents), 0% in tune");
    for (double cents : { 10.0, 2.0, 14.0 })
        figures.add(cents, 4.0);
    EXPECT_EQ(IntonationTip("Bb", figures),
              "Bb: 4 readings, on average 5.0 cents sharp (spread 7.7 cents), 25% in tune");
    IntonationFigures centered;
    centered.add(1.0, 4.0);
    centered.add(-1.0, 4.0);
    EXPECT_EQ(IntonationTip("A", centered),
              "A: 2 readings, on average in tune (spread 1.0 cents), 100% in tune");
}

TEST(WheelSpokenValue, SaysTheDeviationAndTheZoneInWords)
{
    const PinwheelThresholds thresholds = CTCDefs().GetPinwheelThresholds(); // 12 8 4 8 12
    WheelState wheel;
    wheel.SetPitchClass(0);
    wheel.SetName("A");
    EXPECT_EQ(WheelSpokenValue(wheel), "A: silent");
    wheel.Step(0, -3.0, thresholds, WheelState::kTurnPeriod); // 3 cents sharp
    EXPECT_EQ(WheelSpokenValue(wheel), "A: 3.0 cents sharp, in tune");
    wheel.Step(0, 14.0, thresholds, WheelState::kTurnPeriod);
    EXPECT_EQ(WheelSpokenValue(wheel), "A: 14.0 cents flat, very flat");
    wheel.Step(0, -9.0, thresholds, WheelState::kTurnPeriod);
    EXPECT_EQ(WheelSpokenValue(wheel), "A: 9.0 cents sharp, sharp");
    wheel.Step(WheelState::kNoNote, 0.0, thresholds, WheelState::kTurnPeriod);
    EXPECT_EQ(WheelSpokenValue(wheel), "A: fading, last 9.0 cents sharp");
}
