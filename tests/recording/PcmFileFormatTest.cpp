#include "PcmFileFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace corvane;

namespace {

// The 22 extra bytes of an extensible header: valid bits, channel mask, sub-format.
std::vector<uint8_t> extensibleExtra(uint8_t subFormatTag)
{
    std::vector<uint8_t> extra = { 16, 0,    4, 0,    0, 0, subFormatTag, 0, 0,    0,    0,
                                   0,  0x10, 0, 0x80, 0, 0, 0xaa,         0, 0x38, 0x9b, 0x71 };
    return extra;
}

bool accepted(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t align, uint16_t bits)
{
    return PcmFileFormat::fromHeader(tag, channels, rate, align, bits, nullptr, 0).has_value();
}

} // namespace

TEST(PcmFileFormat, HeadersTheAnalysisCannotTakeAreRefused)
{
    EXPECT_FALSE(accepted(1, 0, 44100, 0, 16)); // no channels
    EXPECT_FALSE(accepted(1, 3, 44100, 6, 16)); // three channels
    EXPECT_FALSE(accepted(1, 1, 0, 2, 16));     // no rate
    EXPECT_FALSE(accepted(1, 1, 44100, 2, 12));
    EXPECT_FALSE(accepted(1, 1, 44100, 4, 32));
    EXPECT_FALSE(accepted(2, 1, 44100, 256, 4)); // ADPCM
    EXPECT_FALSE(accepted(3, 1, 44100, 4, 32));  // float

    const std::vector<uint8_t> floatExtra = extensibleExtra(3);
    EXPECT_FALSE(PcmFileFormat::fromHeader(0xFFFE, 1, 44100, 4, 32, floatExtra.data(),
                                           floatExtra.size()));
    const std::vector<uint8_t> shortExtra(10, 0);
    EXPECT_FALSE(PcmFileFormat::fromHeader(0xFFFE, 1, 44100, 2, 16, shortExtra.data(),
                                           shortExtra.size()));
}

TEST(PcmFileFormat, PlainExtensibleAndTwentyFourBitPcmIsAccepted)
{
    const auto stereo16 = PcmFileFormat::fromHeader(1, 2, 44100, 4, 16, nullptr, 0);
    ASSERT_TRUE(stereo16);
    EXPECT_EQ(stereo16->slotBytes, 2);
    EXPECT_FALSE(stereo16->packed());

    const std::vector<uint8_t> pcmExtra = extensibleExtra(1);
    const auto extensible =
            PcmFileFormat::fromHeader(0xFFFE, 1, 48000, 2, 16, pcmExtra.data(), pcmExtra.size());
    ASSERT_TRUE(extensible);
    EXPECT_EQ(extensible->sampleRate, 48000);

    const auto packed = PcmFileFormat::fromHeader(1, 2, 44100, 6, 24, nullptr, 0);
    ASSERT_TRUE(packed);
    EXPECT_EQ(packed->fileBytesPerSample, 3);
    EXPECT_EQ(packed->slotBytes, 4);
    EXPECT_TRUE(packed->packed());

    const auto slotted = PcmFileFormat::fromHeader(1, 1, 11025, 4, 24, nullptr, 0);
    ASSERT_TRUE(slotted);
    EXPECT_EQ(slotted->fileBytesPerSample, 4);
    EXPECT_FALSE(slotted->packed());
}

TEST(PcmFileFormat, PackedTwentyFourBitSamplesWidenWithTheirSign)
{
    const uint8_t in[] = { 0xff, 0xff, 0x7f, 0x00, 0x00, 0x80, 0xff, 0xff, 0xff, 0x01, 0x00, 0x00 };
    int32_t out[4] = {};
    PcmFileFormat::unpack24(in, reinterpret_cast<uint8_t *>(out), 4);
    EXPECT_EQ(out[0], 8388607);
    EXPECT_EQ(out[1], -8388608);
    EXPECT_EQ(out[2], -1);
    EXPECT_EQ(out[3], 1);
}
