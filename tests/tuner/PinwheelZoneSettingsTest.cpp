#include "PinwheelZoneSettings.h"

#include <gtest/gtest.h>

#include <random>

using namespace corvane;
using namespace corvane::tuner;
using Zones = PinwheelZoneSettings;

namespace {

Zones Defaults()
{
    const CTCDefs defs;
    return Zones(defs.GetPinwheelThresholds(), defs.GetPinwheelColors());
}

} // namespace

TEST(PinwheelZoneSettings, RaisingTheCenterPushesTheInnerValuesUpWithIt)
{
    Zones z = Defaults();
    ASSERT_TRUE(z.StepThreshold(Zones::Center, 10));
    EXPECT_EQ(z.thresholds(), (PinwheelThresholds { 12, 10, 10, 10, 12 }));
    ASSERT_TRUE(z.StepThreshold(Zones::Center, 13));
    EXPECT_EQ(z.thresholds(), (PinwheelThresholds { 13, 13, 13, 13, 13 }));
    ASSERT_TRUE(z.StepThreshold(Zones::Center, 0));
    EXPECT_EQ(z.thresholds(), (PinwheelThresholds { 13, 13, 0, 13, 13 })) << "lowering moves none";
}

TEST(PinwheelZoneSettings, StepsOutsideTheAllowedRangeAreRefusedAndChangeNothing)
{
    Zones z = Defaults();
    const Zones before = z;
    EXPECT_FALSE(z.StepThreshold(Zones::InnerSharp, 3)) << "below the center";
    EXPECT_FALSE(z.StepThreshold(Zones::OuterFlat, 7)) << "below the inner flat value";
    EXPECT_FALSE(z.StepThreshold(Zones::OuterSharp, 51));
    EXPECT_FALSE(z.StepThreshold(Zones::Center, -1));
    EXPECT_FALSE(z.StepThreshold(5, 10));
    EXPECT_EQ(z, before);
    EXPECT_TRUE(z.StepThreshold(Zones::InnerSharp, 20));
    EXPECT_EQ(z.thresholds(), (PinwheelThresholds { 12, 8, 4, 20, 20 }));
}

TEST(PinwheelZoneSettings, RandomSpinSequencesNeverBreakTheOrder)
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> which(0, 4);
    std::uniform_int_distribution<int> direction(0, 1);
    Zones z = Defaults();
    for (int i = 0; i < 20000; ++i) {
        const int index = which(random);
        const int value = z.threshold(index) + (direction(random) ? 1 : -1);
        const Zones before = z;
        const bool taken = z.StepThreshold(index, value);
        ASSERT_TRUE(Zones::InOrder(z.thresholds())) << "step " << i;
        if (taken)
            ASSERT_EQ(z.threshold(index), value);
        else
            ASSERT_EQ(z, before);
    }
}

TEST(PinwheelZoneSettings, ValuesOutOfOrderFromAFileArePutInOrder)
{
    const Zones z(PinwheelThresholds { 2, 30, 10, 5, 99 }, CTCDefs().GetPinwheelColors());
    EXPECT_EQ(z.thresholds(), (PinwheelThresholds { 30, 30, 10, 10, 50 }));
    EXPECT_TRUE(Zones::InOrder(z.thresholds()));
}

TEST(PinwheelZoneSettings, StripBoundariesShowMinusToPlusFiftyCents)
{
    const Zones z = Defaults();
    // 700 pixels from x 10: the center at 360, 7 pixels a cent.
    EXPECT_EQ(z.StripBoundaries(10, 700), (std::array<int, 6> { 276, 304, 332, 388, 416, 444 }));
}

TEST(PinwheelZoneSettings, ColorsKeepOnlyRedGreenAndBlue)
{
    Zones z = Defaults();
    z.SetColor(3, 0xFF123456);
    z.SetColor(7, 0x000000FF);
    EXPECT_EQ(z.colors()[3], 0x123456u);
    EXPECT_EQ(z.colors(), ([] {
                  auto c = CTCDefs().GetPinwheelColors();
                  c[3] = 0x123456;
                  return c;
              }()));
}
