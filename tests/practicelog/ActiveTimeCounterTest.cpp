#include "ActiveTimeCounter.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(ActiveTimeCounter, FourSecondsOfSilenceAfterANoteStillCount)
{
    ActiveTimeCounter counter(0);
    counter.setTicksPerSecond(5.0);
    counter.tick(false); // silence before anything was heard does not count
    EXPECT_EQ(counter.ticks(), 0);
    counter.tick(true);
    for (int i = 0; i < 25; ++i)
        counter.tick(false);
    EXPECT_EQ(counter.ticks(), 21); // the active tick and 20 of hang-over
    counter.tick(true);             // activity restarts the hang-over
    counter.tick(false);
    EXPECT_EQ(counter.ticks(), 23);
    EXPECT_DOUBLE_EQ(counter.activeSeconds(), 4.6);
    EXPECT_EQ(counter.wholeActiveSeconds(), 4);
}
