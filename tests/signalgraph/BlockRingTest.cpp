#include "BlockRing.h"

#include <gtest/gtest.h>

using corvane::BlockRing;

TEST(BlockRing, FullRingDropsTheOldestBlockWithEveryFurtherBlock)
{
    BlockRing ring;
    ring.resize(8, 4);
    int32_t writer = ring.newestIndex();
    for (int i = 0; i < 3; ++i)
        ring.advance(writer);
    EXPECT_EQ(ring.oldestIndex(), 0);
    EXPECT_EQ(ring.newestIndex(), 3);

    ring.advance(writer); // full: the oldest block goes
    EXPECT_EQ(ring.newestIndex(), 0);
    EXPECT_EQ(ring.oldestIndex(), 1);
    ring.advance(writer);
    EXPECT_EQ(ring.newestIndex(), 1);
    EXPECT_EQ(ring.oldestIndex(), 2);
    EXPECT_EQ(writer, 1);

    int32_t stale = 3;
    ring.advance(stale); // a writer that is not at the newest block moves nothing
    EXPECT_EQ(ring.newestIndex(), 1);
    EXPECT_EQ(stale, 3);
}

TEST(BlockRing, ReaderWalkingWithNextIndexStopsBeforeTheBlockBeingWritten)
{
    BlockRing ring;
    ring.resize(4, 5);
    int32_t writer = ring.newestIndex();
    for (int filled = 0; filled < 12; ++filled) {
        // From the oldest block, a reader sees exactly the finished blocks and then stays put.
        int32_t index = ring.oldestIndex();
        int seen = index == ring.newestIndex() ? 0 : 1;
        EXPECT_EQ(ring.nextIndex(ring.newestIndex()), ring.newestIndex());
        for (int step = 0; step < 10 && seen > 0; ++step) {
            const int32_t next = ring.nextIndex(index);
            ASSERT_NE(next, ring.newestIndex());
            if (next == index)
                break;
            index = next;
            ++seen;
        }
        EXPECT_EQ(seen, std::min(filled, 4)) << "after " << filled << " blocks";
        ring.advance(writer);
    }
}

TEST(BlockRing, NewBlocksHoldSilence)
{
    BlockRing ring;
    ring.resize(3, 2, std::byte { 128 });
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(ring.blockAddress(0)[i], std::byte { 128 });
    ring.resize(3, 2);
    EXPECT_EQ(ring.blockAddress(1)[2], std::byte { 0 });
}
