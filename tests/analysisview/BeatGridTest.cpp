#include "BeatGrid.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {
constexpr double kSpp = 0.01; // seconds per pixel
}

TEST(BeatGrid, MarksFallEveryIntervalAndStayWithTheMusicWhenScrolled)
{
    BeatGrid grid;
    EXPECT_EQ(grid.markOffsets(0.0, kSpp, 250), (std::vector<int> { 0, 100, 200 }));
    // Scrolled 0.25 s into the recording: the marks at 1 s and 2 s are 75 and 175 pixels in.
    EXPECT_EQ(grid.markOffsets(0.25, kSpp, 250), (std::vector<int> { 75, 175 }));
    EXPECT_DOUBLE_EQ(grid.phaseAt(0.25), 0.75);
    EXPECT_TRUE(grid.markOffsets(0.0, 0.0, 250).empty());
}

TEST(BeatGrid, DraggingMovesEveryMarkAndKeepsThePhaseWithinOneInterval)
{
    BeatGrid grid;
    grid.drag(0.3);
    EXPECT_NEAR(grid.originPhase(), 0.3, 1e-12);
    grid.drag(0.9);
    EXPECT_NEAR(grid.originPhase(), 0.2, 1e-12);
    grid.drag(-0.5);
    EXPECT_NEAR(grid.originPhase(), 0.7, 1e-12);
}

TEST(BeatGrid, APointGrabsAMarkOnlyWithinThreePixelsOfIt)
{
    BeatGrid grid;
    grid.drag(0.5);
    ASSERT_TRUE(grid.markAt(0.52, 0.0, kSpp).has_value());
    EXPECT_NEAR(*grid.markAt(0.52, 0.0, kSpp), 0.5, 1e-9);
    EXPECT_NEAR(*grid.markAt(1.48, 0.0, kSpp), 1.5, 1e-9);
    EXPECT_FALSE(grid.markAt(0.54, 0.0, kSpp).has_value());
    EXPECT_FALSE(grid.markAt(0.46, 0.0, kSpp).has_value());
    EXPECT_FALSE(grid.markAt(0.1, 0.0, kSpp).has_value());
}

TEST(BeatGrid, StretchingMovesTheGrabbedMarkAndStopsAtEightPixels)
{
    BeatGrid grid;
    grid.beginStretch(2.0); // the mark at 1 s stays, the one at 2 s follows the mouse
    EXPECT_TRUE(grid.stretch(-0.5, kSpp));
    EXPECT_DOUBLE_EQ(grid.interval(), 0.5);
    EXPECT_EQ(grid.bpmText(), "120bpm");
    EXPECT_EQ(grid.markOffsets(0.0, kSpp, 260), (std::vector<int> { 0, 50, 100, 150, 200, 250 }));

    EXPECT_FALSE(grid.stretch(-0.45, kSpp));
    EXPECT_DOUBLE_EQ(grid.interval(), 8 * kSpp);
    EXPECT_FALSE(grid.stretching());
    EXPECT_FALSE(grid.stretch(0.5, kSpp)); // ended: further moves change nothing
    EXPECT_DOUBLE_EQ(grid.interval(), 8 * kSpp);
}

TEST(BeatGrid, AnIntervalTooShortToDrawIsDoubled)
{
    BeatGrid grid;
    grid.keepDrawable(0.3); // 1 s is fewer than 4 pixels of 0.3 s
    EXPECT_DOUBLE_EQ(grid.interval(), 2.0);
    grid.keepDrawable(0.3);
    EXPECT_DOUBLE_EQ(grid.interval(), 2.0);
    EXPECT_EQ(grid.bpmText(), "30bpm");
}
