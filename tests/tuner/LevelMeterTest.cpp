#include "LevelBallistics.h"
#include "LevelMeter.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace corvane::tuner;

TEST(LevelBallistics, APeakIsHeldForTwoSecondsThenFallsHalfTheScaleASecond)
{
    LevelBallistics b(2.0, 2.0, 1.0);
    b.add(0.5, 0.2);
    b.add(0.0, 0.2);
    EXPECT_EQ(b.value(), 0.0) << "the value follows at once";
    int held = 1;
    while (b.peak() == 0.5 && held < 20) {
        b.add(0.0, 0.2);
        ++held;
    }
    // Ten fifths of a second leave the hold a rounding error above zero: it ends with the
    // eleventh, as it always did in the five-a-second display.
    EXPECT_EQ(held, 11);
    EXPECT_DOUBLE_EQ(b.peak(), 0.4);
    b.add(0.0, 0.2);
    EXPECT_DOUBLE_EQ(b.peak(), 0.3);

    // A value at or above the falling peak catches it and starts a new hold.
    b.add(0.3, 0.2);
    EXPECT_NEAR(b.peak(), 0.3, 1e-9);
    EXPECT_DOUBLE_EQ(b.holdLeft(), 2.0);
    for (int i = 0; i < 30; ++i)
        b.add(0.0, 0.2);
    EXPECT_EQ(b.peak(), 0.0) << "the peak settles on the value, never below";
}

TEST(LevelBallistics, FedSixtyTimesASecondThePeakHoldsAndFallsAsLongAsFedFiveTimes)
{
    LevelBallistics b(2.0, 2.0, 1.0);
    b.add(0.5, 1.0 / 60);
    for (int i = 0; i < 119; ++i)
        b.add(0.0, 1.0 / 60);
    EXPECT_EQ(b.peak(), 0.5) << "still held just short of two seconds";
    for (int i = 0; i < 61; ++i)
        b.add(0.0, 1.0 / 60);
    EXPECT_NEAR(b.peak(), 0.0, 0.01) << "half the scale a second";

    // No time, or a broken one, holds everything where it is.
    LevelBallistics still(2.0, 2.0, 1.0);
    still.add(0.5, 0.2);
    still.add(0.0, 0.0);
    still.add(0.0, -1.0);
    still.add(0.0, std::nan(""));
    EXPECT_DOUBLE_EQ(still.holdLeft(), 2.0);
}

TEST(LevelBallistics, AZeroFallTimeDropsThePeakInsteadOfDividingByZero)
{
    LevelBallistics b(0.0, 0.0, 1.0);
    b.add(0.8, 0.2);
    b.add(0.1, 0.2);
    EXPECT_EQ(b.peak(), 0.1);
}

namespace {

LevelMeter Horizontal()
{
    LevelMeter m;
    // Trough from x 36 to 236: 200 pixels.
    m.init({ 0, 0, 240, 30 }, false, 1.0, LevelMeter::kBarColor, LevelMeter::kPeakColor, 1,
           "signal", "full");
    return m;
}

LevelMeter Vertical()
{
    LevelMeter m;
    // Trough from y 4 to 132: 128 pixels.
    const auto labels = LevelMeter::BandLabels(44100, 3);
    m.init({ 0, 0, 30, 160 }, true, 1.0, LevelMeter::kBarColor, LevelMeter::kPeakColor, 2,
           labels[0], labels[1]);
    return m;
}

} // namespace

TEST(LevelMeter, HorizontalBarAndPeakAreMeasuredAlongTheTrough)
{
    const LevelMeter m = Horizontal();
    const LevelMeterPicture p = m.picture(0.5, 0.75);
    EXPECT_EQ(p.trough, (PixelRect { 36, 4, 236, 26 }));
    EXPECT_EQ(p.bar, (PixelRect { 36, 4, 136, 26 }));
    ASSERT_TRUE(p.peak);
    EXPECT_EQ(*p.peak, (PixelRect { 184, 4, 186, 26 }));
    EXPECT_EQ(p.ticks[8], (LevelMeterPicture::Line { 36 + 100, 4, 136, 7 })) << "the fifth tick";
    EXPECT_EQ(p.labels[1].text, "full");
    EXPECT_EQ(p.labels[1].y, 10);
    EXPECT_EQ(p.labels[0].y, 20);

    EXPECT_EQ(m.picture(3.0, 3.0).bar.right, 236) << "over full scale fills the trough, no more";
    EXPECT_EQ(m.picture(-1.0, 0.0).bar.width(), 0);
}

TEST(LevelMeter, VerticalBarRisesFromTheTroughBottom)
{
    const LevelMeter m = Vertical();
    const LevelMeterPicture p = m.picture(0.5, 0.25);
    EXPECT_EQ(p.trough, (PixelRect { 4, 4, 26, 132 }));
    EXPECT_EQ(p.bar, (PixelRect { 4, 68, 26, 132 }));
    ASSERT_TRUE(p.peak);
    EXPECT_EQ(*p.peak, (PixelRect { 4, 100, 26, 102 }));
    EXPECT_EQ(p.labels[0].y, 156);
    EXPECT_EQ(p.labels[1].y, 146);
}

TEST(LevelMeter, NoPeakMarkerAtOrBelowTheSmallestPeak)
{
    const LevelMeter m = Horizontal();
    EXPECT_FALSE(m.picture(0.0, 0.0075).peak);
    ASSERT_TRUE(m.picture(0.0, 0.008).peak);
    EXPECT_EQ(*m.picture(0.0, 0.008).peak, (PixelRect { 36, 4, 38, 26 })) << "kept in the trough";
}

TEST(LevelMeter, RedrawOnlyWhenAPixelLengthChanges)
{
    LevelMeter m = Horizontal();
    EXPECT_FALSE(m.needsRedraw(0.0, 0.0));
    EXPECT_TRUE(m.needsRedraw(0.5, 0.5));
    m.markDrawn(m.picture(0.5, 0.5));
    EXPECT_EQ(m.drawnBar(), 100);
    EXPECT_FALSE(m.needsRedraw(0.5 + 0.004, 0.5)) << "less than a pixel";
    EXPECT_TRUE(m.needsRedraw(0.5, 0.51));
    EXPECT_TRUE(m.needsRedraw(0.49, 0.5));
}

TEST(LevelMeter, BandLabelsAreTheBandEdgesInHz)
{
    const struct
    {
        int rate, band;
        const char *low, *high;
    } cases[] = { { 44100, 0, "10.8", "21.5" },
                  { 44100, 7, "1378.1", "2756.2" },
                  { 11025, 0, "2.7", "5.4" },
                  { 11025, 7, "344.5", "689.1" } };
    for (const auto &c : cases) {
        const auto labels = LevelMeter::BandLabels(c.rate, c.band);
        EXPECT_EQ(labels[0], c.low) << c.rate << " band " << c.band;
        EXPECT_EQ(labels[1], c.high) << c.rate << " band " << c.band;
    }
}
