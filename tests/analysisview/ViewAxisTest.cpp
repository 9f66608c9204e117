#include "BlockSelection.h"
#include "PaneLayout.h"
#include "TimeAxis.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

TimeAxis axis(int32_t samples, int width, int zoomIndex = TimeAxis::kDefaultZoomIndex)
{
    TimeAxis a;
    a.setFormat(1024, 11025);
    a.setZoomIndex(zoomIndex);
    a.setDataWidth(width);
    a.setSampleCount(samples);
    return a;
}

} // namespace

TEST(TimeAxis, ZoomStopsAtTwoAndAt512PixelsPerBlock)
{
    TimeAxis a = axis(100, 500, 8);
    EXPECT_EQ(a.pixelsPerBlock(), 512);
    EXPECT_FALSE(a.zoomIn());
    EXPECT_EQ(a.pixelsPerBlock(), 512);
    a.setZoomIndex(0);
    EXPECT_FALSE(a.zoomOut());
    EXPECT_EQ(a.pixelsPerBlock(), 2);
    EXPECT_TRUE(a.zoomIn());
    EXPECT_EQ(a.pixelsPerBlock(), 4);
    EXPECT_EQ(TimeAxis().pixelsPerBlock(), 16);
}

TEST(TimeAxis, BlocksAndPixelsConvertBothWaysFromTheScrollPosition)
{
    TimeAxis a = axis(1000, 320); // 20 blocks a page at 16 pixels
    EXPECT_EQ(a.scrollTo(10), 10);
    EXPECT_EQ(a.xOfBlock(10), 101);
    EXPECT_EQ(a.xOfBlock(12), 101 + 32);
    EXPECT_EQ(a.blockAtX(101 + 33), 12);
    EXPECT_EQ(a.blockAtX(40), 10); // the label column counts as the left edge
    EXPECT_DOUBLE_EQ(a.framesPerPixel(), 64.0);
    EXPECT_DOUBLE_EQ(a.secondsPerPixel(), 64.0 / 11025);
    EXPECT_DOUBLE_EQ(a.timeAtX(111), 10 * 64.0 / 11025);
}

TEST(TimeAxis, TheScrollPositionStaysWithinTheRecordingWhateverChanges)
{
    TimeAxis a = axis(100, 320);
    EXPECT_EQ(a.maxFirstBlock(), 80);
    EXPECT_EQ(a.scrollTo(500), 80);
    EXPECT_EQ(a.firstVisibleBlock(), 80);
    EXPECT_EQ(a.scrollTo(-5), -80);
    a.scrollTo(80);
    a.setDataWidth(3200); // the whole recording fits now
    EXPECT_EQ(a.firstVisibleBlock(), 0);
    a.setDataWidth(320);
    a.scrollTo(80);
    a.zoomOut(); // 40 blocks a page
    EXPECT_EQ(a.firstVisibleBlock(), 60);
    a.setSampleCount(0);
    EXPECT_EQ(a.firstVisibleBlock(), 0);
}

TEST(BlockSelection, AClickClearsAndShiftClickExtendsFromTheAnchor)
{
    BlockSelection s;
    s.press(10, false);
    s.move(14);
    s.release();
    EXPECT_EQ(s.start(), 10);
    EXPECT_EQ(s.end(), 14);

    s.press(20, true); // extends from the anchor at 10
    s.release();
    EXPECT_EQ(s.start(), 10);
    EXPECT_EQ(s.end(), 20);

    s.press(4, true); // to the left of the anchor: ordered
    s.move(2);
    s.release();
    EXPECT_EQ(s.start(), 2);
    EXPECT_EQ(s.end(), 10);

    s.press(7, false);
    s.release();
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(s.start(), 0);
    EXPECT_EQ(s.end(), 0);

    s.move(30); // moving without a press selects nothing
    EXPECT_TRUE(s.empty());
}

TEST(PaneLayout, ShownPanesStackInFixedOrderWithTheirHeights)
{
    const PaneLayout all(31 | PaneLayout::kTimingBit);
    ASSERT_EQ(all.panes().size(), 5u);
    EXPECT_EQ(all.totalHeight(), 120 + 100 + 100 + 100 + 490);
    EXPECT_EQ(all.panes()[3].kind, PaneKind::Wave);
    EXPECT_EQ(all.panes()[3].top, 320);
    EXPECT_EQ(all.panes()[4].height, 490);
    EXPECT_TRUE(all.timingShown());

    const PaneLayout some(PaneLayout::kVolumeBit | PaneLayout::kBandsBit);
    ASSERT_EQ(some.panes().size(), 2u);
    EXPECT_EQ(some.panes()[0].kind, PaneKind::Volume);
    EXPECT_EQ(some.panes()[1].top, 100);

    const PaneLayout none(PaneLayout::kTimingBit);
    EXPECT_TRUE(none.panes().empty());
    EXPECT_EQ(none.totalHeight(), 0);
}

TEST(PaneLayout, BandLabelsAt11025HzRunFrom1378Down)
{
    EXPECT_EQ(PaneLayout::bandLabels(11025, 0),
              std::make_pair(std::string("1378.0Hz"), std::string("689.0Hz")));
    EXPECT_EQ(PaneLayout::bandLabels(11025, 3),
              std::make_pair(std::string("172.0Hz"), std::string("86.0Hz")));
    EXPECT_EQ(PaneLayout::bandLabels(11025, 7),
              std::make_pair(std::string("10.0Hz"), std::string("5.0Hz")));
    EXPECT_EQ(PaneLayout::bandLabels(44100, 0).first, "5512.0Hz");
    // Each boundary reads the same below one band and above the next.
    for (int rate : { 11025, 22050, 44100, 48000, 96000 }) {
        for (int band = 1; band < 8; ++band)
            EXPECT_EQ(PaneLayout::bandLabels(rate, band).first,
                      PaneLayout::bandLabels(rate, band - 1).second)
                    << rate << " Hz, band " << band;
    }
}
