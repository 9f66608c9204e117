#include "PicturePages.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

std::vector<std::pair<int32_t, int32_t>> spans(const std::vector<PageSpan> &pages)
{
    std::vector<std::pair<int32_t, int32_t>> out;
    for (const PageSpan &p : pages)
        out.emplace_back(p.first, p.count);
    return out;
}

} // namespace

TEST(PicturePages, AStretchIsCutIntoFullPagesAndAShortLastOne)
{
    using V = std::vector<std::pair<int32_t, int32_t>>;
    EXPECT_EQ(spans(PicturePages::pages(0, 100, 30)),
              (V { { 0, 30 }, { 30, 30 }, { 60, 30 }, { 90, 10 } }));
    EXPECT_EQ(spans(PicturePages::pages(40, 60, 30)), (V { { 40, 20 } }));
    EXPECT_EQ(spans(PicturePages::pages(0, 60, 30)), (V { { 0, 30 }, { 30, 30 } }));
    // Zoomed out, 8 blocks a column: pages of whole columns from the column the stretch starts in.
    EXPECT_EQ(spans(PicturePages::pages(13, 100, 30, 8)),
              (V { { 8, 24 }, { 32, 24 }, { 56, 24 }, { 80, 20 } }));
    // A page narrower than one column still holds one.
    EXPECT_EQ(spans(PicturePages::pages(0, 20, 3, 8)), (V { { 0, 8 }, { 8, 8 }, { 16, 4 } }));
    EXPECT_TRUE(PicturePages::pages(50, 50, 30).empty());
    EXPECT_TRUE(PicturePages::pages(60, 50, 30).empty());
    EXPECT_EQ(spans(PicturePages::pages(-5, 10, 0)).size(), 10u); // nonsense sizes do not loop
}

TEST(PicturePages, ACaptionNamesTheFileTheTimesAndThePage)
{
    EXPECT_EQ(PicturePages::caption("take 3.wav", 65.2, 3725, 2, 40),
              "take 3.wav   1:05 to 1:02:05   page 2 of 40");
}
