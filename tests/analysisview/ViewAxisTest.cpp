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

TEST(TimeAxis, ZoomStopsAt128BlocksAPixelAndAt512PixelsABlock)
{
    TimeAxis a = axis(100, 500, TimeAxis::kZoomCount - 1);
    EXPECT_EQ(a.pixelsPerBlock(), 512);
    EXPECT_FALSE(a.zoomIn());
    EXPECT_EQ(a.pixelsPerBlock(), 512);
    a.setZoomIndex(0);
    EXPECT_FALSE(a.zoomOut());
    EXPECT_EQ(a.blocksPerColumn(), 128);
    EXPECT_TRUE(a.zoomIn());
    EXPECT_EQ(a.blocksPerColumn(), 64);
    EXPECT_EQ(TimeAxis().pixelsPerBlock(), 16);
}

TEST(TimeAxis, AnHourAtFortyFourKilohertzFitsAnOrdinaryWindowAtTheWidestZoom)
{
    // 44.1 kHz takes 4096-frame blocks: 38,760 of them an hour.
    const int32_t hour = 3600 * 44100 / 4096;
    TimeAxis a;
    a.setFormat(4096, 44100);
    a.setZoomIndex(0);
    a.setDataWidth(800);
    a.setSampleCount(hour);
    EXPECT_EQ(a.maxFirstBlock(), 0);
    EXPECT_EQ(a.columnsOf(hour), (hour + 127) / 128);
    EXPECT_EQ(TimeAxis::fittingZoom(hour, 400), 0);  // 128 blocks a pixel: 303 columns
    EXPECT_EQ(TimeAxis::fittingZoom(hour, 800), 1);  // 64: 606 columns
    EXPECT_EQ(TimeAxis::fittingZoom(hour, 1300), 2); // 32: 1212 columns
    EXPECT_EQ(TimeAxis::fittingZoom(10, 800), 13);   // 64 pixels a block
}

TEST(TimeAxis, ZoomedOutAColumnHoldsTheSameBlocksWhereverTheViewScrolls)
{
    TimeAxis a = axis(10000, 100, 4); // 8 blocks a pixel
    EXPECT_EQ(a.pageBlocks(), 800);
    EXPECT_EQ(a.scrollTo(37), 32); // to a whole column
    EXPECT_EQ(a.firstColumn(), 4);
    EXPECT_EQ(a.xOfBlock(32), 101);
    EXPECT_EQ(a.xOfBlock(39), 101);
    EXPECT_EQ(a.xOfBlock(40), 102);
    EXPECT_EQ(a.xOfBlock(31), 100); // the column before the data area
    EXPECT_EQ(a.blockAtX(101), 32);
    EXPECT_EQ(a.blockAtX(102), 40);
    EXPECT_DOUBLE_EQ(a.framesPerPixel(), 8 * 1024.0);
    // The last blocks can always be scrolled into view, even when they fill part of a column.
    a.setSampleCount(1005);
    EXPECT_EQ(a.maxFirstBlock(), 208);
    a.scrollTo(5000);
    EXPECT_GE(a.firstVisibleBlock() + a.pageBlocks(), 1005);
    EXPECT_EQ(a.firstVisibleBlock() % 8, 0);
}

TEST(TimeAxis, BlocksAndPixelsConvertBothWaysFromTheScrollPosition)
{
    TimeAxis a = axis(1000, 320); // 20 blocks a page at 16 pixels
    EXPECT_EQ(a.scrollTo(10), 10);
    EXPECT_EQ(a.xOfBlock(10), 101);
    EXPECT_EQ(a.xOfBlock(12), 101 + 32);
    EXPECT_EQ(a.blockAtX(101 + 33), 12);
    EXPECT_EQ(a.blockAtX(101 + 31), 11); // the last pixel of block 11 is still block 11
    EXPECT_EQ(a.blockAtX(40), 10);       // the label column counts as the left edge
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
