#include "IntonationTip.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::tuner;

TEST(IntonationTip, SaysTheFiguresAndTheDirectionInWords)
{
    IntonationFigures figures;
    EXPECT_EQ(IntonationTip("F#", figures), "F#: not heard yet");
    figures.add(-6.0, 4.0);
    EXPECT_EQ(IntonationTip("Bb", figures),
              "Bb: 1 reading, on average 6.0 cents flat (spread 0.0 cents), 0% in tune");
    for (double cents : { 10.0, 2.0, 14.0 })
        figures.add(cents, 4.0);
    EXPECT_EQ(IntonationTip("Bb", figures),
              "Bb: 4 readings, on average 5.0 cents sharp (spread 7.7 cents), 25% in tune");
    IntonationFigures centered;
    centered.add(1.0, 4.0);
    centered.add(-1.0, 4.0);
    EXPECT_EQ(IntonationTip("A", centered),
              "A: 2 readings, on average in tune (spread 1.0 cents), 100% in tune");
}
