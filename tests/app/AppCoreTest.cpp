#include "HyperlinkErrors.h"
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

TEST(MainFrameState, ZoomStaysWithinItsNineLevels)
{
    MainFrameState s;
    EXPECT_EQ(s.zoom(), 3);
    while (s.zoomOut()) { }
    EXPECT_EQ(s.zoom(), 0);
    EXPECT_FALSE(s.zoomOut());
    EXPECT_EQ(s.zoom(), 0);
    int steps = 0;
    while (s.zoomIn())
        ++steps;
    EXPECT_EQ(steps, 8);
    EXPECT_FALSE(s.zoomIn());
    EXPECT_EQ(s.zoom(), 8);
}

TEST(HyperlinkErrors, KnownCodesHaveTheirTextAndOthersTheirNumber)
{
    EXPECT_EQ(HyperlinkErrorMessage(2),
              "Unable to open hyperlink:\n\nThe specified file was not found.");
    EXPECT_EQ(HyperlinkErrorMessage(26),
              "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(HyperlinkErrorMessage(kNoAssociatedApplication),
              "Unable to open hyperlink:\n\nThere is no application associated\nwith the given "
              "filename extension.");
    EXPECT_EQ(HyperlinkErrorMessage(99),
              "Unable to open hyperlink:\n\nUnknown Error (99) occurred.");
}
