#include "PinwheelPlacement.h"

#include <gtest/gtest.h>

using namespace corvane::tuner;

TEST(PinwheelPlacement, CreateSplitsTheWidthIntoSevenAndUsesTheSmallestButtons)
{
    const PinwheelPlacement p = PinwheelPlacement::Create({ 10, 40, 710, 400 });
    // s = 100, r = 125.
    EXPECT_EQ(p.bottom, 40 + 250);
    EXPECT_EQ(p.wheels[0], (PixelRect { 10, 165, 110, 290 }));   // Do: lower row, first column
    EXPECT_EQ(p.wheels[1], (PixelRect { 60, 40, 160, 165 }));    // Ra: upper row, between
    EXPECT_EQ(p.wheels[11], (PixelRect { 610, 165, 710, 290 })); // Ti: the seventh column
    EXPECT_EQ(p.nameButtons[0], (PixelRect { 16, 268, 82, 286 }));
    EXPECT_EQ(p.toneButtons[0], (PixelRect { 86, 268, 104, 286 }));
    EXPECT_EQ(p.iconSize, 16);
}

TEST(PinwheelPlacement, LayoutGivesLargeWindowsLargeWheelsAndIcons)
{
    // A full-HD window: wheels of 274 x 342, far beyond any fixed-size drawing buffer.
    const PinwheelPlacement p = PinwheelPlacement::Layout({ 0, 0, 1920, 1000 });
    const int x = (1920 - 7 * 274) / 2; // the rows stand in the middle
    EXPECT_EQ(p.wheels[5], (PixelRect { x + 3 * 274, 342, x + 4 * 274, 684 }));
    EXPECT_EQ(p.wheels[6].left, x + int(3.5 * 274));
    EXPECT_EQ(p.bottom, 684);
    EXPECT_EQ(p.iconSize, 48);
    EXPECT_EQ(p.toneButtons[5],
              (PixelRect { x + 4 * 274 - 6 - 68, 684 - 4 - 68, x + 4 * 274 - 6, 680 }));
    // Held back by the height, the wheels leave the same room either side.
    const PinwheelPlacement low = PinwheelPlacement::Layout({ 0, 0, 1000, 200 });
    EXPECT_EQ(low.wheels[0].left, (1000 - 7 * 80) / 2);
    EXPECT_EQ(1000 - low.wheels[11].right, (1000 - 7 * 80) / 2);
}

TEST(PinwheelPlacement, LayoutLimitsTheWheelsByTheHeightAndKeepsButtonsUsable)
{
    const struct
    {
        PixelRect area;
        int s, r, iconSize;
    } cases[] = {
        { { 0, 0, 1000, 200 }, 80, 100, 16 },  // height-bound: s = 0.8 * H / 2
        { { 0, 0, 1400, 520 }, 200, 250, 48 }, // width-bound
        { { 0, 0, 1400, 440 }, 176, 220, 32 },
        { { 0, 0, 140, 60 }, 20, 25, 16 }, // tiny: buttons stay 18 pixels
    };
    for (const auto &c : cases) {
        const PinwheelPlacement p = PinwheelPlacement::Layout(c.area);
        EXPECT_EQ(p.wheels[0].width(), c.s);
        EXPECT_EQ(p.wheels[0].height(), c.r);
        EXPECT_EQ(p.iconSize, c.iconSize);
        EXPECT_GE(p.toneButtons[0].width(), PinwheelPlacement::kMinButtonSize);
    }
}
