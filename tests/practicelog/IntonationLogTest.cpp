#include "IntonationLogRecord.h"
#include "PracticeLogFile.h"
#include "PracticeLogStatistics.h"

#include "FixedTimeZone.h"
#include "LogTestKit.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

using namespace corvane;
using corvane::test::FakeRun;
using corvane::test::readLogFile;

namespace {

// The reader of the plain three-number lines the log began with: lines of at most 49 characters
// (a longer one stops the reading), each scanned for three integers whatever follows, newest
// line first.
PracticeLog ReadAsThreeNumberLines(const std::string &text)
{
    PracticeLog log;
    std::istringstream in(text);
    char line[50];
    while (in.getline(line, sizeof line)) {
        long long start = 0, end = 0, active = 0;
        if (std::sscanf(line, "%lld %lld %lld", &start, &end, &active) == 3)
            log.insert(log.begin(), LogRecord { start, end, active });
    }
    return log;
}

class IntonationLogFile : public test::FixedTimeZone
{
protected:
    test::TempWorkingDir dir;
};

} // namespace

TEST(IntonationLogRecord, ARunsFiguresComeBackToATenthOfACentAndHugeOnesStayWithinTheLine)
{
    IntonationStatistics run(4.0);
    for (double cents : { 6.0, 8.0, 10.0, 8.0 })
        run.add(6, cents); // F#: mean 8, spread sqrt(2)
    run.add(10, -3.0);     // Bb
    const std::vector<std::string> lines = IntonationLogLines(1'765'000'000, run);
    ASSERT_EQ(lines.size(), 2u) << "notes not heard get no line";
    EXPECT_EQ(lines[0], "1765000000 1765000000 0 F# 4 80 14 0");

    const auto fSharp = ParseIntonationLogLine(lines[0]);
    ASSERT_TRUE(fSharp);
    EXPECT_EQ(fSharp->runStart, 1'765'000'000);
    EXPECT_EQ(fSharp->pitchClass, 6);
    EXPECT_EQ(fSharp->figures.count, 4);
    EXPECT_DOUBLE_EQ(fSharp->figures.meanCents, 8.0);
    EXPECT_NEAR(fSharp->figures.spreadCents(), 1.414, 0.05);
    const auto bFlat = ParseIntonationLogLine(lines[1]);
    ASSERT_TRUE(bFlat);
    EXPECT_EQ(bFlat->pitchClass, 10);
    EXPECT_EQ(bFlat->figures.inTuneShare(), 1.0);

    // Ten hours on one note, far off, in the year 2286: the line still fits a short buffer, the
    // share in tune is kept, the rest clamped.
    IntonationLogRecord huge { 9'999'999'999, 11, {} };
    huge.figures.count = 180'000;
    huge.figures.inTune = 45'000;
    huge.figures.meanCents = -250.0;
    huge.figures.sumOfSquares = 1e9 * 180'000;
    const std::string line = FormatIntonationLogLine(huge);
    EXPECT_LE(line.size(), kLongestLogLine) << line;
    const auto back = ParseIntonationLogLine(line);
    ASSERT_TRUE(back) << line;
    EXPECT_NEAR(back->figures.inTuneShare(), 0.25, 1e-4);
    EXPECT_DOUBLE_EQ(back->figures.meanCents, -99.9);

    // What the writer never writes is not taken for figures.
    for (const char *bad :
         { "1765000000 1765000001 0 F# 4 80 14 0", "1765000000 1765000000 3 F# 4 80 14 0",
           "1765000000 1765000000 0 H 4 80 14 0", "1765000000 1765000000 0 F# 4 80 14 5",
           "1765000000 1765000000 0 F# 0 0 0 0", "1765000000 1765000000 0 F# 4 80 14",
           "1765000000 1765000000 0 F# 4 80 14 0 7", "1765000000 1765000000 240" })
        EXPECT_FALSE(ParseIntonationLogLine(bad)) << bad;
}

TEST_F(IntonationLogFile, RunsWithFiguresRoundTripAndEveryReaderKeepsTheRunStatisticsExact)
{
    // An old log of plain lines, then two runs that wrote their figures, then another plain one.
    const std::string old = "1715860800 1715861400 240\n1715870000 1715870030 0\n";
    std::ofstream(kPracticeLogFileName, std::ios::binary) << old;
    IntonationStatistics first(4.0);
    for (int i = 0; i < 20; ++i) {
        first.add(9, 2.0);  // A, in tune
        first.add(6, 11.0); // F#, sharp
    }
    FakeRun run1(1'715'880'000, 900, 300);
    ASSERT_EQ(AppendPracticeLogLine(run1.clock, run1.counter), "");
    ASSERT_EQ(AppendIntonationLogLines(1'715'880'000, first), "");
    IntonationStatistics second(4.0);
    second.add(6, 7.0);
    FakeRun run2(1'715'890'000, 60, 20);
    ASSERT_EQ(AppendPracticeLogLine(run2.clock, run2.counter), "");
    ASSERT_EQ(AppendIntonationLogLines(1'715'890'000, second), "");
    {
        std::ofstream(kPracticeLogFileName, std::ios::binary | std::ios::app)
                << "1715895000 1715895100 50\n";
    }

    std::istringstream written(readLogFile());
    int lines = 0;
    for (std::string line; std::getline(written, line); ++lines)
        EXPECT_LE(line.size(), kLongestLogLine) << line;
    EXPECT_EQ(lines, 2 + 1 + 2 + 1 + 1 + 1);

    FakeRun current(1'715'900'000, 7, 0);
    PracticeLog log;
    IntonationLog figures;
    EXPECT_EQ(LoadPracticeLog(log, current.clock, current.counter, &figures), 0u)
            << "figures are no damage";
    ASSERT_EQ(log.size(), 6u) << "the current run and five runs, no more";
    ASSERT_EQ(figures.size(), 3u);
    EXPECT_EQ(figures[0].runStart, 1'715'880'000);
    EXPECT_EQ(figures[0].pitchClass, 6);
    EXPECT_DOUBLE_EQ(figures[0].figures.meanCents, 11.0);
    EXPECT_EQ(figures[1].pitchClass, 9);
    EXPECT_EQ(figures[1].figures.inTune, 20);
    EXPECT_EQ(figures[2].runStart, 1'715'890'000);

    // A log of the runs alone has the very same statistics.
    PracticeLog runsOnly;
    std::string plain;
    for (auto it = log.rbegin(); it != std::prev(log.rend()); ++it)
        plain += std::to_string(it->start) + " " + std::to_string(it->end) + " "
                + std::to_string(it->active) + "\n";
    std::ofstream(kPracticeLogFileName, std::ios::binary) << plain;
    LoadPracticeLog(runsOnly, current.clock, current.counter);
    EXPECT_EQ(log, runsOnly);

    // The plain reader takes each figures line for an empty run on its run's day: every line
    // is read (none too long), and today's, the seven days' and the complete figures agree.
    std::string withFigures = old + "1715880000 1715880900 300\n";
    for (const std::string &text : IntonationLogLines(1'715'880'000, first))
        withFigures += text + "\n";
    withFigures += "1715890000 1715890060 20\n";
    const PracticeLog plainRead = ReadAsThreeNumberLines(withFigures);
    ASSERT_EQ(plainRead.size(), 6u) << "no line stopped the reading";
    const PracticeLog plainRuns =
            ReadAsThreeNumberLines(old + "1715880000 1715880900 300\n1715890000 1715890060 20\n");
    const std::int64_t runStart = 1'715'900'000;
    EXPECT_EQ(TodayStatisticsLine(plainRead, runStart), TodayStatisticsLine(plainRuns, runStart));
    EXPECT_EQ(SevenDayStatisticsLines(plainRead, runStart).lines,
              SevenDayStatisticsLines(plainRuns, runStart).lines);
    EXPECT_EQ(CompleteStatisticsLines(plainRead, runStart),
              CompleteStatisticsLines(plainRuns, runStart));
}
