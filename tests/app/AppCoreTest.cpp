#include "MainFrameState.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(MainFrameState, PlayAndLoopExcludeEachOtherAndTheTuner)
{
    MainFrameState s;
    EXPECT_TRUE(s.canStartTuner());
    EXPECT_EQ(s.togglePlay(), MainFrameState::Toggle::Started);
    EXPECT_FALSE(s.canStartTuner());
    EXPECT_FALSE(s.canLoop());
    EXPECT_TRUE(s.canPlay());
    EXPECT_EQ(s.toggleLoop(), MainFrameState::Toggle::Refused);
    EXPECT_FALSE(s.looping());
    EXPECT_EQ(s.togglePlay(), MainFrameState::Toggle::Stopped);
    EXPECT_TRUE(s.canStartTuner());

    EXPECT_EQ(s.toggleLoop(), MainFrameState::Toggle::Started);
    EXPECT_EQ(s.togglePlay(), MainFrameState::Toggle::Refused);
    EXPECT_FALSE(s.canPlay());
    s.playbackEnded();
    EXPECT_FALSE(s.looping());
    EXPECT_TRUE(s.canStartTuner());
}

TEST(MainFrameState, ZoomStaysWithinItsSeventeenLevels)
{
    MainFrameState s;
    EXPECT_EQ(s.zoom(), 11);
    while (s.zoomOut()) { }
    EXPECT_EQ(s.zoom(), 0);
    EXPECT_FALSE(s.zoomOut());
    EXPECT_EQ(s.zoom(), 0);
    int steps = 0;
    while (s.zoomIn())
        ++steps;
    EXPECT_EQ(steps, 16);
    EXPECT_FALSE(s.zoomIn());
    EXPECT_EQ(s.zoom(), 16);
}
