#include "PracticeCharts.h"

#include "FixedTimeZone.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

class PracticeCharts : public test::FixedTimeZone
{
};

IntonationLogRecord Figures(std::int64_t runStart, int pitchClass, long count, double mean)
{
    IntonationLogRecord r { runStart, pitchClass, {} };
    r.figures.count = count;
    r.figures.meanCents = mean;
    return r;
}

} // namespace

TEST_F(PracticeCharts, DailyBarsAddUpEachLocalDayOldestFirstUnderARoundScale)
{
    // Thursday 16 May 2024; a run before midnight belongs to the day it began.
    const std::int64_t today = local(2024, 5, 16, 9);
    const PracticeLog log { { today, today + 2400, 1200 },
                            { local(2024, 5, 15, 23, 30), local(2024, 5, 16, 0, 50), 3000 },
                            { local(2024, 5, 15, 8), local(2024, 5, 15, 8, 20), 600 },
                            { local(2024, 5, 9, 8), local(2024, 5, 9, 9), 60 },
                            { local(2024, 4, 1, 8), local(2024, 4, 1, 9), 60 } };
    const TimeChart week = DailyTimeChart(log, today, 7);
    ASSERT_EQ(week.bars.size(), 7u);
    EXPECT_EQ(week.bars[6].label, "Thu");
    EXPECT_EQ(week.bars[0].label, "Fri");
    EXPECT_EQ(week.bars[6].elapsedSeconds, 2400);
    EXPECT_EQ(week.bars[6].activeSeconds, 1200);
    EXPECT_EQ(week.bars[5].elapsedSeconds, 4800 + 1200) << "both of Wednesday's runs";
    EXPECT_EQ(week.bars[5].activeSeconds, 3600);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(week.bars[std::size_t(i)].elapsedSeconds, 0) << "the 9th is eight days back";
    EXPECT_EQ(week.stepSeconds, 1800);
    EXPECT_EQ(week.topSeconds, 7200);

    const TimeChart month = DailyTimeChart(log, today, 30);
    ASSERT_EQ(month.bars.size(), 30u);
    EXPECT_EQ(month.bars[29].label, "16");
    EXPECT_EQ(month.bars[22].elapsedSeconds, 3600) << "the 9th";
    EXPECT_EQ(month.bars[0].label, "17") << "April 17th; April 1st is off the chart";

    const TimeChart empty = DailyTimeChart({}, today, 7);
    EXPECT_GT(empty.topSeconds, 0) << "a scale to draw even with nothing on it";
}

TEST_F(PracticeCharts, EachNotesDailyMeanMergesItsRunsAndTheRunInProgressCountsToday)
{
    const std::int64_t today = local(2024, 5, 16, 9);
    const std::int64_t twoDaysAgo = local(2024, 5, 14, 18);
    const IntonationLog log { Figures(twoDaysAgo, 6, 10, 6.0),
                              Figures(twoDaysAgo + 3600, 6, 30, 10.0),
                              Figures(twoDaysAgo, 10, 5, -3.0),
                              Figures(local(2024, 3, 1, 9), 0, 5, 40.0) };
    IntonationStatistics current(4.0);
    current.add(6, 2.0);
    const DriftChart chart = DeviationDriftChart(log, today, 30, &current);
    ASSERT_EQ(chart.series.size(), 2u) << "F# and Bb; the C of March is off the chart";
    const DriftSeries &fSharp = chart.series[0];
    EXPECT_EQ(fSharp.name, "F#");
    ASSERT_EQ(fSharp.points.size(), 2u);
    EXPECT_EQ(fSharp.points[0].day, 27);
    EXPECT_EQ(fSharp.points[0].count, 40);
    EXPECT_DOUBLE_EQ(fSharp.points[0].meanCents, 9.0) << "weighted by the readings";
    EXPECT_EQ(fSharp.points[1].day, 29);
    EXPECT_DOUBLE_EQ(fSharp.points[1].meanCents, 2.0);
    EXPECT_EQ(chart.series[1].name, "Bb");
    EXPECT_EQ(chart.topCents, 10.0);
    EXPECT_EQ(chart.dayLabels.back(), "16");

    const DriftChart wide = DeviationDriftChart({ Figures(today, 3, 3, -23.0) }, today, 7);
    EXPECT_EQ(wide.topCents, 25.0);
}
