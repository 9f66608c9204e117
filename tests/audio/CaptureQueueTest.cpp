#include "AudioTestSupport.h"
#include "CaptureQueue.h"

#include <gtest/gtest.h>

using namespace corvane::audio;
using corvane::SampleFormat;
using corvane::audio::test::countingBytes;

TEST(CaptureQueue, HandsOutWholeBlocksAndCountsDeliveriesThatDoNotFit)
{
    CaptureQueue queue;
    queue.prepare(SampleFormat { 1, 11025, 16 }, 8, 2); // blocks of 4 frames, room for two
    const auto frames = countingBytes(24);
    queue.push(frames.data(), 3);
    EXPECT_EQ(queue.blocksWaiting(), 0u);
    queue.push(frames.data() + 6, 5);
    EXPECT_EQ(queue.blocksWaiting(), 2u);
    queue.push(frames.data() + 16, 4); // no room: dropped whole
    EXPECT_EQ(queue.takeOverflows(), 1u);
    EXPECT_EQ(queue.takeOverflows(), 0u);

    std::byte block[8];
    ASSERT_TRUE(queue.popBlock(block));
    EXPECT_TRUE(std::equal(block, block + 8, frames.begin()));
    ASSERT_TRUE(queue.popBlock(block));
    EXPECT_TRUE(std::equal(block, block + 8, frames.begin() + 8));
    EXPECT_FALSE(queue.popBlock(block));
}

TEST(CaptureQueue, NarrowsTheDevicesFullRange24BitSamplesToTheProgramsRange)
{
    CaptureQueue queue;
    queue.prepare(SampleFormat { 2, 44100, 24 }, 8, 4);
    const int32_t device[2] = { 0x7FFFFF00, -256 };
    queue.push(device, 1);
    int32_t program[2] {};
    ASSERT_TRUE(queue.popBlock(reinterpret_cast<std::byte *>(program)));
    EXPECT_EQ(program[0], 8388607);
    EXPECT_EQ(program[1], -1);
}
