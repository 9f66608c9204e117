#include "PracticeLogFile.h"
#include "PracticeLogStatistics.h"

#include "FixedTimeZone.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

using namespace corvane;

namespace {

std::string readLogFile()
{
    std::ifstream in(kPracticeLogFileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeLogFile(const std::string &text)
{
    std::ofstream(kPracticeLogFileName, std::ios::binary) << text;
}

// A run that started at `start`, has lasted `seconds` and was active for `activeTicks` ticks; its
// clock stands still until the test moves `now`.
struct FakeRun
{
    explicit FakeRun(std::int64_t start, std::int64_t seconds = 0, int activeTicks = 0)
        : now(start)
        , clock([this] { return now; })
    {
        now += seconds;
        for (int i = 0; i < activeTicks; ++i)
            counter.tick(true);
    }
    std::int64_t now;
    RunClock clock;
    ActiveTimeCounter counter { 0 };
};

class PracticeLogFile : public test::FixedTimeZone
{
protected:
    test::TempWorkingDir dir;
};

} // namespace

TEST_F(PracticeLogFile, EachRunAppendsOneLineAndLoadingListsThemNewestFirst)
{
    FakeRun first(1'715'860'800, 600, 240);
    ASSERT_TRUE(AppendPracticeLogLine(first.clock, first.counter));
    EXPECT_EQ(readLogFile(), "1715860800 1715861400 240\n");

    FakeRun second(1'715'870'000, 30);
    ASSERT_TRUE(AppendPracticeLogLine(second.clock, second.counter));
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

// Damaged lines are skipped one by one: none of them ends loading or turns into a record, and
// no length of line is too long.
TEST_F(PracticeLogFile, DamagedAndLongLinesAreSkippedAndLaterRunsKept)
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
    LoadPracticeLog(log, current.clock, current.counter);
    const PracticeLog expected {
        { 2000, 2000, 0 }, { 900, 1000, 90 }, { -5, -4, -3 },
        { 700, 800, 80 },  { 500, 600, 70 },  { 100, 200, 50 },
    };
    EXPECT_EQ(log, expected);

    // The next run's line does not run into the unfinished one.
    ASSERT_TRUE(AppendPracticeLogLine(current.clock, current.counter));
    const std::string text = readLogFile();
    EXPECT_EQ(text.substr(text.size() - 24), "900 1000 90\n2000 2000 0\n");
}

TEST_F(PracticeLogFile, DatesAfter2038AndHugeValuesSurviveTheFileAndTheStatistics)
{
    // 2100-01-01 00:00:00 UTC, one hour, half of it active.
    FakeRun run(4'102'444'800, 3600, 1800);
    ASSERT_TRUE(AppendPracticeLogLine(run.clock, run.counter));
    EXPECT_EQ(readLogFile(), "4102444800 4102448400 1800\n");

    // A line no calendar can place (localtime gives up on it) loads and prints without harm.
    writeLogFile(readLogFile() + "9223372036854775807 9223372036854775807 9223372036854775807\n"
                 + "-9223372036854775808 9223372036854775807 9223372036854775807\n");
    PracticeLog log;
    LoadPracticeLog(log, run.clock, run.counter);
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[3], (LogRecord { 4'102'444'800, 4'102'448'400, 1800 }));
    EXPECT_EQ(RunLine(log[3]),
              "Thu Dec 31 19:00:00 2099    Active: 00:30:00  Elapsed: 01:00:00  Ratio 50%");
    EXPECT_EQ(RunLine(log[2]).substr(0, 28), "(date out of range)         ");
    const std::int64_t start = run.clock.startTime();
    EXPECT_EQ(TodayStatisticsLine(log, start).substr(0, 34), "Tuner Active: 00:30:00   Elapsed: ");
    EXPECT_EQ(SevenDayStatisticsLines(log, start).lines[0], "Number of Days Recorded:       1");
    EXPECT_EQ(CompleteStatisticsLines(log, start)[0], "Number of Days Recorded:       4");
}
