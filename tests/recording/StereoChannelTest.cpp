#include "StereoChannel.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace corvane;

namespace {

// Interleaved left/right frames of `bits` in the program's slots, little-endian.
std::vector<uint8_t> frames(const std::vector<std::array<int32_t, 2>> &values, int bits)
{
    const int bytes = SampleFormat::slotBytes(bits);
    std::vector<uint8_t> out;
    for (const auto &frame : values) {
        for (int32_t v : frame) {
            const int32_t stored = bits == 8 ? v + 128 : v;
            for (int b = 0; b < bytes; ++b)
                out.push_back(static_cast<uint8_t>((stored >> (8 * b)) & 0xff));
        }
    }
    return out;
}

} // namespace

// The analyzer hears the left slot of each frame: the right channel or the mean of both must
// arrive there exactly, for every depth, negative samples and the extremes included.
TEST(StereoChannel, TheChosenChannelLandsInTheLeftSlots)
{
    struct Case
    {
        int bits;
        std::vector<std::array<int32_t, 2>> in;
        std::vector<std::array<int32_t, 2>> right;
        std::vector<std::array<int32_t, 2>> mix;
    };
    const std::vector<Case> cases = {
        { 8,
          { { 0, -128 }, { 127, 1 } },
          { { -128, -128 }, { 1, 1 } },
          { { -64, -128 }, { 64, 1 } } },
        { 16,
          { { 32767, 32767 }, { -32768, 1000 }, { 0, -3 } },
          { { 32767, 32767 }, { 1000, 1000 }, { -3, -3 } },
          { { 32767, 32767 }, { -15884, 1000 }, { -1, -3 } } },
        { 24,
          { { 8388607, -8388608 }, { -5, 0 } },
          { { -8388608, -8388608 }, { 0, 0 } },
          { { 0, -8388608 }, { -2, 0 } } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bits);
        const SampleFormat format { 2, 11025, c.bits };
        std::vector<uint8_t> block = frames(c.in, c.bits);
        moveChannelToLeft(block.data(), c.in.size(), format, StereoChannel::Left);
        EXPECT_EQ(block, frames(c.in, c.bits));
        moveChannelToLeft(block.data(), c.in.size(), format, StereoChannel::Right);
        EXPECT_EQ(block, frames(c.right, c.bits));
        block = frames(c.in, c.bits);
        moveChannelToLeft(block.data(), c.in.size(), format, StereoChannel::Mix);
        EXPECT_EQ(block, frames(c.mix, c.bits));
    }

    // One channel has no right slot to take from.
    std::vector<uint8_t> mono = { 1, 2, 3, 4 };
    moveChannelToLeft(mono.data(), 2, SampleFormat { 1, 11025, 16 }, StereoChannel::Right);
    EXPECT_EQ(mono, (std::vector<uint8_t> { 1, 2, 3, 4 }));
}

TEST(StereoChannel, PeaksArePerChannelAndOnlyRise)
{
    std::array<double, 2> peaks {};
    std::vector<uint8_t> block = frames({ { 0, 16384 }, { -1, -32768 } }, 16);
    raiseChannelPeaks(block.data(), 2, SampleFormat { 2, 11025, 16 }, peaks);
    EXPECT_DOUBLE_EQ(peaks[0], 1.0 / 32768.0);
    EXPECT_DOUBLE_EQ(peaks[1], 1.0);
    block = frames({ { 8192, 0 } }, 16);
    raiseChannelPeaks(block.data(), 1, SampleFormat { 2, 11025, 16 }, peaks);
    EXPECT_DOUBLE_EQ(peaks[0], 0.25);
    EXPECT_DOUBLE_EQ(peaks[1], 1.0);

    EXPECT_EQ(stereoChannelNamed("right"), StereoChannel::Right);
    EXPECT_EQ(stereoChannelNamed("mix"), StereoChannel::Mix);
    EXPECT_FALSE(stereoChannelNamed("Left").has_value());
}
