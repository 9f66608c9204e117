#include "TimeRuler.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

// Seven pixels a character, as a small sans-serif font measures digits and colons.
int measure(const std::string &text)
{
    return 7 * static_cast<int>(text.size());
}

void expectNoLabelsTouch(const std::vector<RulerTick> &ticks, const std::string &where)
{
    const RulerTick *last = nullptr;
    for (const RulerTick &tick : ticks) {
        if (tick.label.empty())
            continue;
        if (last) {
            EXPECT_LE(last->x + measure(last->label) + TimeRuler::kLabelGap, tick.x)
                    << where << ": " << last->label << " runs into " << tick.label;
        }
        last = &tick;
    }
}

} // namespace

TEST(TimeRuler, ClockLabelsReadAsMinutesAndSecondsWithFractionsOnlyWhenTheStepNeedsThem)
{
    EXPECT_EQ(TimeRuler::clockLabel(0, 1), "0:00");
    EXPECT_EQ(TimeRuler::clockLabel(65, 5), "1:05");
    EXPECT_EQ(TimeRuler::clockLabel(720, 60), "12:00");
    EXPECT_EQ(TimeRuler::clockLabel(3723, 1), "1:02:03");
    EXPECT_EQ(TimeRuler::clockLabel(1.5, 0.5), "0:01.5");
    EXPECT_EQ(TimeRuler::clockLabel(59.99, 0.01), "0:59.99");
    EXPECT_EQ(TimeRuler::clockLabel(59.999, 1), "1:00"); // rounds into the next minute whole
    EXPECT_EQ(TimeRuler::clockLabel(-0.2, 1), "0:00");
    EXPECT_EQ(TimeRuler::spanText(12, 42.4, 185), "0:12 to 0:42 of 3:05");
}

TEST(TimeRuler, TheStepIsTheFinestWhoseLabelsNeverTouchAtAnyZoom)
{
    // Seconds per pixel of the view's zoom steps at 11025 Hz, 1024-frame blocks.
    for (int pixels : { 512, 64, 16, 2 }) {
        const double spp = 1024.0 / 11025 / pixels;
        expectNoLabelsTouch(TimeRuler::clockTicks(3.3, spp, 900, measure), std::to_string(pixels));
    }
    for (int blocks : { 2, 16, 128 }) {
        const double spp = 1024.0 / 11025 * blocks;
        const auto ticks = TimeRuler::clockTicks(0, spp, 900, measure);
        expectNoLabelsTouch(ticks, "1/" + std::to_string(blocks));
        ASSERT_FALSE(ticks.empty());
        EXPECT_EQ(ticks.front().label, "0:00");
    }
    // 16 pixels a block is about 0.0058 s a pixel: "0:00" is 28 pixels wide, 36 with the gap, so
    // half a second (86 pixels) is the finest step whose longer labels ("0:01.5") fit.
    EXPECT_DOUBLE_EQ(TimeRuler::step(0, 1024.0 / 11025 / 16, 900, measure), 0.5);
    // An hour over 800 pixels: labels like "45:00" need 43 pixels, two minutes take 27, five 67.
    EXPECT_DOUBLE_EQ(TimeRuler::step(0, 3600.0 / 800, 800, measure), 300);
    // Past the hour the labels grow ("1:10:00"), and so may the step.
    const auto ticks = TimeRuler::clockTicks(3500, 4.5, 800, measure);
    expectNoLabelsTouch(ticks, "past the hour");
}

TEST(TimeRuler, MajorMarksSitAtRoundTimesAndMinorOnesDivideThem)
{
    // 10 pixels a second from 0:03.3: the first whole step is 5 s at x = 17.
    const auto ticks = TimeRuler::clockTicks(3.3, 0.1, 300, measure);
    std::vector<RulerTick> major;
    for (const RulerTick &t : ticks)
        if (t.major)
            major.push_back(t);
    ASSERT_GE(major.size(), 3u);
    EXPECT_EQ(major[0].label, "0:05");
    EXPECT_EQ(major[0].x, 17);
    EXPECT_EQ(major[1].label, "0:10");
    EXPECT_EQ(major[1].x, 67);
    // One minor mark a second between them, none labeled.
    int minors = 0;
    for (const RulerTick &t : ticks)
        if (!t.major && t.x > 17 && t.x < 67) {
            ++minors;
            EXPECT_TRUE(t.label.empty());
        }
    EXPECT_EQ(minors, 4);
}

TEST(TimeRuler, BeatsCountBarsFromTheGridsFirstMarkAndThinOutWhenCrowded)
{
    // A mark every half second from 0.25 s, 100 pixels a second: every beat has room.
    auto ticks = TimeRuler::beatTicks(0.25, 0.5, 0, 0.01, 500, measure);
    ASSERT_GE(ticks.size(), 5u);
    EXPECT_EQ(ticks[0].x, 25);
    EXPECT_EQ(ticks[0].label, "1.1");
    EXPECT_EQ(ticks[1].label, "1.2");
    EXPECT_EQ(ticks[4].label, "2.1");
    EXPECT_EQ(ticks[4].x, 225);
    expectNoLabelsTouch(ticks, "beats");

    // 10 pixels a second: bars two seconds (20 pixels) apart, numbers only, thinned to fit.
    ticks = TimeRuler::beatTicks(0.25, 0.5, 60, 0.1, 800, measure);
    expectNoLabelsTouch(ticks, "bars");
    bool sawBar = false;
    for (const RulerTick &t : ticks) {
        if (!t.major)
            continue;
        sawBar = true;
        EXPECT_EQ(t.label.find('.'), std::string::npos) << t.label;
        EXPECT_EQ((std::stol(t.label) - 1) % 2, 0) << "every other bar: " << t.label;
    }
    EXPECT_TRUE(sawBar);
    // Nothing before the grid's first mark.
    for (const RulerTick &t : TimeRuler::beatTicks(2.0, 0.5, 0, 0.01, 300, measure))
        EXPECT_GE(t.x, 200);
}
