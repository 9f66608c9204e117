#include "PcmFileFormat.h"

#include "WaveFixtures.h"

#include <gtest/gtest.h>

#include <vector>

using namespace corvane;

TEST(PcmFileFormat, OnlyHeadersTheAnalysisCanTakeAreAcceptedWithTheirSampleLayout)
{
    const std::vector<uint8_t> pcmExtra = test::extensibleExtra(1);
    const std::vector<uint8_t> floatExtra = test::extensibleExtra(3);
    const std::vector<uint8_t> shortExtra(10, 0);
    const struct
    {
        uint16_t tag, channels;
        uint32_t rate;
        uint16_t align, bits;
        const std::vector<uint8_t> *extra;
        int fileBytes, slotBytes; // 0: refused
    } cases[] = {
        { 1, 0, 44100, 0, 16, nullptr, 0, 0 },  // no channels
        { 1, 3, 44100, 6, 16, nullptr, 0, 0 },  // three channels
        { 1, 1, 0, 2, 16, nullptr, 0, 0 },      // no rate
        { 1, 1, 44100, 2, 12, nullptr, 0, 0 },  // twelve bits
        { 1, 1, 44100, 4, 32, nullptr, 0, 0 },  // 32-bit integers
        { 2, 1, 44100, 256, 4, nullptr, 0, 0 }, // ADPCM
        { 3, 1, 44100, 4, 32, nullptr, 0, 0 },  // float
        { 0xFFFE, 1, 44100, 4, 32, &floatExtra, 0, 0 },
        { 0xFFFE, 1, 44100, 2, 16, &shortExtra, 0, 0 },
        { 1, 2, 44100, 4, 16, nullptr, 2, 2 },
        { 0xFFFE, 1, 48000, 2, 16, &pcmExtra, 2, 2 },
        { 1, 2, 44100, 6, 24, nullptr, 3, 4 }, // packed, as most programs write it
        { 1, 1, 11025, 4, 24, nullptr, 4, 4 }, // in slots, as this program saves it
    };
    for (const auto &c : cases) {
        const auto format = PcmFileFormat::fromHeader(c.tag, c.channels, c.rate, c.align, c.bits,
                                                      c.extra ? c.extra->data() : nullptr,
                                                      c.extra ? c.extra->size() : 0);
        SCOPED_TRACE(testing::Message() << "tag " << c.tag << ", " << c.channels << " channels, "
                                        << c.rate << " Hz, " << c.bits << " bits");
        ASSERT_EQ(format.has_value(), c.fileBytes != 0);
        if (!format)
            continue;
        EXPECT_EQ(format->sampleRate, int(c.rate));
        EXPECT_EQ(format->fileBytesPerSample, c.fileBytes);
        EXPECT_EQ(format->slotBytes, c.slotBytes);
        EXPECT_EQ(format->packed(), c.fileBytes != c.slotBytes);
    }
}

TEST(PcmFileFormat, PackedTwentyFourBitSamplesWidenWithTheirSign)
{
    const uint8_t in[] = { 0xff, 0xff, 0x7f, 0x00, 0x00, 0x80, 0xff, 0xff, 0xff, 0x01, 0x00, 0x00 };
    int32_t out[4] = {};
    PcmFileFormat::unpack24(in, reinterpret_cast<uint8_t *>(out), 4);
    EXPECT_EQ(std::vector<int32_t>(out, out + 4),
              (std::vector<int32_t> { 8388607, -8388608, -1, 1 }));
}
