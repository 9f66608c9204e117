#include "PracticeLogStatistics.h"

#include "FixedTimeZone.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace corvane;

namespace {

using PracticeLogStatistics = test::FixedTimeZone;

LogRecord run(std::int64_t start, std::int64_t seconds, std::int64_t active)
{
    return { start, start + seconds, active };
}

} // namespace

TEST_F(PracticeLogStatistics, MondayAndWednesdayRunsSeenOnThursday)
{
    const std::int64_t thursday = local(2024, 5, 16, 9, 0, 0);
    const PracticeLog log {
        run(thursday, 5, 2),
        run(local(2024, 5, 15, 20, 0, 0), 3600, 1800),
        run(local(2024, 5, 13, 10, 0, 0), 1800, 600),
    };
    EXPECT_EQ(TodayStatisticsLine(log, thursday),
              "Tuner Active: 00:00:02   Elapsed: 00:00:05   Ratio 40%");

    const SevenDayStatistics week = SevenDayStatisticsLines(log, thursday);
    const std::array<std::string, 5> lines {
        "Number of Days Recorded:       3", "Number of Days Missed:         4",
        "Average Active/Day:     00:13:20", "Average Elapsed/Day:    00:30:01",
        "Seven Day Ratio:             44%",
    };
    EXPECT_EQ(week.lines, lines);
    const std::array<std::string, 7> rows {
        "Thursday    00:00:02   00:00:05   40%", "Wednesday   00:30:00   01:00:00   50%",
        "Tuesday     00:00:00   00:00:00    0%", "Monday      00:10:00   00:30:00   33%",
        "Sunday      00:00:00   00:00:00    0%", "Saturday    00:00:00   00:00:00    0%",
        "Friday      00:00:00   00:00:00    0%",
    };
    EXPECT_EQ(week.rows, rows);

    const std::array<std::string, 4> complete {
        "Number of Days Recorded:       3",
        "Average Active/Day:     00:13:20",
        "Average Elapsed/Day:    00:30:01",
        "Cummulative Ratio:           44%",
    };
    EXPECT_EQ(CompleteStatisticsLines(log, thursday), complete);

    // Until the current run has lasted a second, Thursday is a day missed.
    PracticeLog justStarted = log;
    justStarted.front() = run(thursday, 0, 0);
    const SevenDayStatistics early = SevenDayStatisticsLines(justStarted, thursday);
    EXPECT_EQ(early.lines[0], "Number of Days Recorded:       2");
    EXPECT_EQ(early.lines[1], "Number of Days Missed:         5");
    EXPECT_EQ(early.rows[0], "Thursday    00:00:00   00:00:00    0%");
}

TEST_F(PracticeLogStatistics, RunsOfOneDayAddUpAndARunAcrossMidnightBelongsToItsFirstDay)
{
    const std::int64_t thursday = local(2024, 5, 16, 9, 0, 0);
    const PracticeLog log {
        run(thursday, 300, 60),
        run(local(2024, 5, 16, 7, 0, 0), 1200, 600),
        run(local(2024, 5, 15, 23, 30, 0), 3600, 1200), // ends on Thursday at 00:30
        run(local(2024, 5, 15, 8, 0, 0), 600, 300),
    };
    EXPECT_EQ(TodayStatisticsLine(log, thursday),
              "Tuner Active: 00:11:00   Elapsed: 00:25:00   Ratio 44%");
    const SevenDayStatistics week = SevenDayStatisticsLines(log, thursday);
    EXPECT_EQ(week.rows[0], "Thursday    00:11:00   00:25:00   44%");
    EXPECT_EQ(week.rows[1], "Wednesday   00:25:00   01:10:00   35%");
    EXPECT_EQ(week.lines[0], "Number of Days Recorded:       2");
    EXPECT_EQ(CompleteStatisticsLines(log, thursday)[0], "Number of Days Recorded:       2");
}

// The day before a spring-forward Sunday must still be found when today began just after
// midnight in summer time.
TEST_F(PracticeLogStatistics, TheWeekWalksBackAcrossAChangeOfClocks)
{
    const std::int64_t monday = local(2024, 3, 11, 0, 30, 0);
    ASSERT_EQ(monday, 1'710'131'400);
    const PracticeLog log {
        run(monday, 60, 30),
        run(local(2024, 3, 10, 10, 0, 0), 600, 600),
        run(local(2024, 3, 9, 10, 0, 0), 300, 0),
    };
    const SevenDayStatistics week = SevenDayStatisticsLines(log, monday);
    EXPECT_EQ(week.rows[1], "Sunday      00:10:00   00:10:00   100%");
    EXPECT_EQ(week.rows[2], "Saturday    00:00:00   00:05:00    0%");
    EXPECT_EQ(week.lines[0], "Number of Days Recorded:       3");
}

TEST_F(PracticeLogStatistics, RunLinesShowTimesAndTruncatedRatios)
{
    const std::int64_t start = local(2024, 5, 16, 9, 0, 0);
    EXPECT_EQ(RunLine(run(start, 3 * 3600 + 5 * 60 + 7, 3600)),
              "Thu May 16 09:00:00 2024    Active: 01:00:00  Elapsed: 03:05:07  Ratio 32%");
    EXPECT_EQ(RunLine(run(local(2024, 5, 6, 23, 59, 58), 1000, 999)),
              "Mon May  6 23:59:58 2024    Active: 00:16:39  Elapsed: 00:16:40  Ratio 99%");
    EXPECT_EQ(RunLine(run(start, 0, 0)),
              "Thu May 16 09:00:00 2024    Active: 00:00:00  Elapsed: 00:00:00  Ratio  0%");
    EXPECT_EQ(RunLine(run(start, 400'000, 0)).substr(28),
              "Active: 00:00:00  Elapsed: 111:06:40  Ratio  0%");
}

TEST_F(PracticeLogStatistics, TotalsBeyond32BitsStayExact)
{
    const std::int64_t today = local(2024, 5, 16, 9, 0, 0);
    const PracticeLog log {
        run(today, 0, 0),
        run(local(2020, 1, 1), 2'000'000'000, 1'000'000'000),
        run(local(2010, 1, 1), 2'000'000'000, 1'000'000'000),
        run(local(2000, 1, 1), 2'000'000'000, 1'000'000'000),
    };
    const std::array<std::string, 4> complete {
        "Number of Days Recorded:       4",
        "Average Active/Day:     208333:20:00",
        "Average Elapsed/Day:    416666:40:00",
        "Cummulative Ratio:           50%",
    };
    EXPECT_EQ(CompleteStatisticsLines(log, today), complete);
}

TEST_F(PracticeLogStatistics, CutoffsAreLocalMidnightsCountedFromThePresent)
{
    const std::int64_t now = local(2024, 5, 16, 15, 30, 0);
    EXPECT_EQ(TodayCutoff(now), 1'715'832'000);    // 2024-05-16 00:00 EDT
    EXPECT_EQ(SevenDayCutoff(now), 1'715'227'200); // 2024-05-09 00:00 EDT
    EXPECT_EQ(CompleteCutoff(now), 958'449'600);   // 2000-05-16 00:00 EDT

    // Midnight in winter time, although the present is in summer time.
    EXPECT_EQ(TodayCutoff(local(2024, 3, 10, 15, 0, 0)), 1'710'046'800);
    EXPECT_EQ(SevenDayCutoff(local(2024, 3, 12, 12, 0, 0)), 1'709'614'800);

    const PracticeLog log {
        run(now, 10, 0), run(1'715'832'000, 10, 0), run(1'715'832'000 - 1, 10, 0),
        run(now - 60, 10, 0), // out of order: the listing has already stopped
    };
    EXPECT_EQ(CountRunsSince(log, TodayCutoff(now)), 2u);
    EXPECT_EQ(CountRunsSince(log, SevenDayCutoff(now)), 4u);
    EXPECT_EQ(CountRunsSince({}, TodayCutoff(now)), 0u);
}
