#include "PracticeLogFile.h"
#include "PracticeLogStatistics.h"

#include "FixedTimeZone.h"
#include "LogTestKit.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

using namespace corvane;
using corvane::test::FakeRun;
using corvane::test::readLogFile;
using corvane::test::writeLogFile;

namespace {

class PracticeLogFile : public test::FixedTimeZone
{
protected:
    test::TempWorkingDir dir;
};

} // namespace

TEST_F(PracticeLogFile, EachRunAppendsOneLineAndLoadingListsThemNewestFirst)
{
    FakeRun first(1'715'860'800, 600, 240);
    ASSERT_EQ(AppendPracticeLogLine(first.clock, first.counter), "");
    EXPECT_EQ(readLogFile(), "1715860800 1715861400 240\n");

    FakeRun second(1'715'870'000, 30);
    ASSERT_EQ(AppendPracticeLogLine(second.clock, second.counter), "");
    EXPECT_EQ(readLogFile(), "1715860800 1715861400 240\n1715870000 1715870030 0\n");

    FakeRun current(1'715'900'000, 7);
    PracticeLog log { { 1, 2, 3 } }; // whatever the list held before is replaced
    LoadPracticeLog(log, current.clock, current.counter);
    const PracticeLog expected {
        { 1'715'900'000, 1'715'900'007, 0 },
        { 1'715'870'000, 1'715'870'030, 0 },
        { 1'715'860'800, 1'715'861'400, 240 },
    };
    EXPECT_EQ(log, expected);
}

TEST_F(PracticeLogFile, ClearingLeavesOnlyTheCurrentRun)
{
    writeLogFile("100 200 50\n300 400 60\n");
    EXPECT_TRUE(ClearPracticeLog());
    EXPECT_FALSE(std::filesystem::exists(kPracticeLogFileName));
    EXPECT_FALSE(ClearPracticeLog()); // nothing left to delete; nothing happens

    FakeRun current(local(2024, 5, 16, 9, 0, 0), 5);
    PracticeLog log;
    LoadPracticeLog(log, current.clock, current.counter);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(TodayStatisticsLine(log, current.clock.startTime()),
              "Tuner Active: 00:00:00   Elapsed: 00:00:05   Ratio  0%");
    EXPECT_EQ(CompleteStatisticsLines(log, current.clock.startTime())[0],
              "Number of Days Recorded:       1");
}

// Damaged lines are skipped one by one and counted: none of them ends loading or turns into a
// record, and no length of line is too long.
TEST_F(PracticeLogFile, DamagedAndLongLinesAreSkippedCountedAndLaterRunsKept)
{
    const std::string longGarbage(100'000, '7');
    writeLogFile("100 200 50\n"
                 "garbage\n"
                 "300 400\n"
                 "300 400 x\n"
                 "300 400 50 60\n"
                 "99999999999999999999 1 2\n"
                 "\n"
                 + longGarbage + "\n" + std::string(60, ' ')
                 + "500 600 70\n"        // longer than any fixed line buffer
                   "  700\t800 +80 \r\n" // blanks, a tab, a sign and a carriage return are fine
                   "-5 -4 -3\n"
                   "900 1000 90"); // the last line has lost its line feed
    FakeRun current(2000);
    PracticeLog log;
    EXPECT_EQ(LoadPracticeLog(log, current.clock, current.counter), 7u) << "the blank line is none";
    const PracticeLog expected {
        { 2000, 2000, 0 }, { 900, 1000, 90 }, { 700, 800, 80 }, { 500, 600, 70 }, { 100, 200, 50 },
    };
    EXPECT_EQ(log, expected);
    EXPECT_EQ(DamagedLinesText(7), "7 damaged lines were skipped");
    EXPECT_EQ(DamagedLinesText(1), "1 damaged line was skipped");

    // The next run's line does not run into the unfinished one.
    ASSERT_EQ(AppendPracticeLogLine(current.clock, current.counter), "");
    const std::string text = readLogFile();
    EXPECT_EQ(text.substr(text.size() - 24), "900 1000 90\n2000 2000 0\n");
}

// Three integers are not yet a run: lines no run of the program could have written (ending
// before they start, active longer than they lasted, far beyond any calendar) would turn the
// averages into nonsense ("Average Active/Day: 512409557603043:06:01").
TEST_F(PracticeLogFile, ImplausibleRunsAreDamagedLinesAndDatesAfter2038AreNot)
{
    // 2100-01-01 00:00:00 UTC, one hour, half of it active.
    FakeRun run(4'102'444'800, 3600, 1800);
    ASSERT_EQ(AppendPracticeLogLine(run.clock, run.counter), "");
    EXPECT_EQ(readLogFile(), "4102444800 4102448400 1800\n");

    writeLogFile(readLogFile() + "9223372036854775807 9223372036854775807 9223372036854775807\n"
                 + "-9223372036854775808 9223372036854775807 9223372036854775807\n"
                 + "4102444800 4102444700 0\n"      // ends before it starts
                 + "4102444800 4102444900 500\n"    // active five times as long as it lasted
                 + "1715860800 1845460800 0\n"      // four years long
                 + "1715860800 1715864400 3610\n"); // the clocks' drift: still a run
    PracticeLog log;
    EXPECT_EQ(LoadPracticeLog(log, run.clock, run.counter), 5u);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1], (LogRecord { 4'102'444'800, 4'102'448'400, 1800 }));
    EXPECT_EQ(RunLine(log[1]),
              "Thu Dec 31 19:00:00 2099    Active: 00:30:00  Elapsed: 01:00:00  Ratio 50%");
    const std::int64_t start = run.clock.startTime();
    EXPECT_EQ(CompleteStatisticsLines(log, start)[1], "Average Active/Day:     01:00:05");
}

TEST_F(PracticeLogFile, AKilledOrFailedAppendLeavesNoHalfLineAndSaysWhichFileAndWhy)
{
    writeLogFile("100 200 50\n");
    FakeRun run(1'715'860'800, 600, 240);
    for (const FileStep failing : { FileStep::Create, FileStep::Write }) {
        const std::string error =
                AppendPracticeLogLine(run.clock, run.counter, [failing](FileStep step) {
                    return step == failing ? ENOSPC : 0;
                });
        EXPECT_EQ(error,
                  "Cannot write \"" + (dir.path() / kPracticeLogFileName).string()
                          + "\": No space left on device");
        EXPECT_EQ(readLogFile(), "100 200 50\n");
    }
}

// Two copies of the program in one folder append in the order they end, so a later line can
// hold an earlier run. Every run still lands in its own day, and the listing stays newest first.
TEST_F(PracticeLogFile, LinesOutOfTimeOrderLoseNoDay)
{
    const std::int64_t monday = local(2024, 5, 13, 9, 0, 0);
    const std::int64_t tuesday = local(2024, 5, 14, 9, 0, 0);
    const std::int64_t wednesday = local(2024, 5, 15, 9, 0, 0);
    auto line = [](std::int64_t start, int minutes, int active) {
        return std::to_string(start) + " " + std::to_string(start + minutes * 60) + " "
                + std::to_string(active) + "\n";
    };
    writeLogFile(line(tuesday, 30, 600) + line(monday, 60, 1200) + line(wednesday + 3600, 10, 60)
                 + line(wednesday, 20, 300));
    FakeRun current(local(2024, 5, 16, 9, 0, 0), 5);
    PracticeLog log;
    EXPECT_EQ(LoadPracticeLog(log, current.clock, current.counter), 0u);
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[1].start, wednesday + 3600);
    EXPECT_EQ(log[2].start, wednesday);
    EXPECT_EQ(log[3].start, tuesday);
    EXPECT_EQ(log[4].start, monday);

    // The same runs in the order the lines stand still give every day its time.
    PracticeLog unordered { log[0], log[3], log[4], log[1], log[2] };
    for (const PracticeLog *each : { &log, &unordered }) {
        const SevenDayStatistics week = SevenDayStatisticsLines(*each, current.clock.startTime());
        EXPECT_EQ(week.lines[0], "Number of Days Recorded:       4");
        EXPECT_EQ(week.rows[1], "Wednesday   00:06:00   00:30:00   20%");
        EXPECT_EQ(week.rows[2], "Tuesday     00:10:00   00:30:00   33%");
        EXPECT_EQ(week.rows[3], "Monday      00:20:00   01:00:00   33%");
        EXPECT_EQ(CompleteStatisticsLines(*each, current.clock.startTime())[0],
                  "Number of Days Recorded:       4");
    }
}
