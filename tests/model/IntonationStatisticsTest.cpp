#include "IntonationStatistics.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(IntonationStatistics, EachDegreeKeepsItsCountMeanSpreadAndShareInTune)
{
    IntonationStatistics stats(4.0);
    // F#: 2 4 4 4 5 5 7 9 cents sharp: mean 5, spread 2; 2, 4, 4 and 4 lie in a zone of ±4.
    for (double cents : { 2.0, 4.0, 4.0, 4.0, 5.0, 5.0, 7.0, 9.0 })
        stats.add(6, cents);
    // Bb, flat, and one reading with no degree at all.
    stats.add(10, -3.0);
    stats.add(10, -13.0);
    stats.add(12, 40.0);

    const IntonationFigures &fSharp = stats.degree(6);
    EXPECT_EQ(fSharp.count, 8);
    EXPECT_DOUBLE_EQ(fSharp.meanCents, 5.0);
    EXPECT_DOUBLE_EQ(fSharp.spreadCents(), 2.0);
    EXPECT_DOUBLE_EQ(fSharp.inTuneShare(), 0.5);
    EXPECT_DOUBLE_EQ(stats.degree(10).meanCents, -8.0);
    EXPECT_DOUBLE_EQ(stats.degree(10).inTuneShare(), 0.5);
    EXPECT_EQ(stats.degree(0).count, 0);
    EXPECT_EQ(stats.degree(0).inTuneShare(), 0.0);
    EXPECT_EQ(stats.degree(0).spreadCents(), 0.0);

    EXPECT_EQ(stats.worstDegree(), 10) << "-8 lies further out than +5";
    EXPECT_EQ(stats.worstDegree(3), 6) << "Bb was heard only twice";
    stats.reset();
    EXPECT_EQ(stats.worstDegree(), -1);
    EXPECT_EQ(stats.degree(6).count, 0);
}

TEST(IntonationStatistics, AnHourOfReadingsKeepsItsMeanExact)
{
    // Five readings a second for an hour, alternating 10.1 and 9.9 cents: a running sum in
    // single steps would drift; the running mean must not.
    IntonationFigures figures;
    for (int i = 0; i < 18000; ++i)
        figures.add(i % 2 ? 10.1 : 9.9, 4.0);
    EXPECT_NEAR(figures.meanCents, 10.0, 1e-9);
    EXPECT_NEAR(figures.spreadCents(), 0.1, 1e-9);
    EXPECT_EQ(figures.inTune, 0);
}

TEST(IntonationStatistics, MergingTwoSetsGivesWhatAddingEveryReadingToOneWouldHave)
{
    IntonationFigures all, first, second, none;
    const double readings[] = { 3.0, -1.0, 12.0, 5.5, 4.0, -6.0, 9.0 };
    for (int i = 0; i < 7; ++i) {
        all.add(readings[i], 4.0);
        (i < 3 ? first : second).add(readings[i], 4.0);
    }
    first.merge(none);
    EXPECT_EQ(first.count, 3) << "nothing merges as nothing";
    none.merge(first);
    EXPECT_DOUBLE_EQ(none.meanCents, first.meanCents) << "into an empty set, a copy";
    first.merge(second);
    EXPECT_EQ(first.count, all.count);
    EXPECT_EQ(first.inTune, all.inTune);
    EXPECT_NEAR(first.meanCents, all.meanCents, 1e-12);
    EXPECT_NEAR(first.spreadCents(), all.spreadCents(), 1e-12);
}
