#include "PcmFileLayout.h"

#include "WaveFixtures.h"

#include <gtest/gtest.h>

#include <vector>

using namespace corvane;

// Which headers the analysis takes and how, and which ones the program can use byte for byte
// (the virtual capture device plays those).
TEST(PcmFileLayout, OnlyHeadersTheAnalysisCanTakeAreAcceptedWithTheirSampleLayout)
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
        bool inSlots;             // usable as the program holds samples
    } cases[] = {
        { 1, 0, 44100, 0, 16, nullptr, 0, 0, false },  // no channels
        { 1, 3, 44100, 6, 16, nullptr, 0, 0, false },  // three channels
        { 1, 1, 0, 2, 16, nullptr, 0, 0, false },      // no rate
        { 1, 1, 1000001, 2, 16, nullptr, 0, 0, true }, // a rate only damage gives
        { 1, 1, 0x80000000u, 2, 16, nullptr, 0, 0, false },
        { 1, 1, 44100, 2, 12, nullptr, 0, 0, false },  // twelve bits
        { 1, 1, 44100, 4, 32, nullptr, 0, 0, false },  // 32-bit integers
        { 2, 1, 44100, 256, 4, nullptr, 0, 0, false }, // ADPCM
        { 3, 1, 44100, 4, 32, nullptr, 0, 0, false },  // float
        { 0xFFFE, 1, 44100, 4, 32, &floatExtra, 0, 0, false },
        { 0xFFFE, 1, 44100, 2, 16, &shortExtra, 0, 0, false },
        { 1, 2, 44100, 4, 16, nullptr, 2, 2, true },
        { 1, 2, 44100, 2, 16, nullptr, 2, 2, false }, // alignment that does not match
        { 1, 1, 8000, 1, 8, nullptr, 1, 1, true },
        { 0xFFFE, 1, 48000, 2, 16, &pcmExtra, 2, 2, false },
        { 1, 2, 44100, 6, 24, nullptr, 3, 4, false }, // packed, as most programs write it
        { 1, 1, 11025, 4, 24, nullptr, 4, 4, true },  // in slots, as this program saves it
    };
    for (const auto &c : cases) {
        WaveFormat header;
        header.formatTag = c.tag;
        header.channels = c.channels;
        header.samplesPerSec = c.rate;
        header.blockAlign = c.align;
        header.bitsPerSample = c.bits;
        if (c.extra)
            header.extra = *c.extra;
        SCOPED_TRACE(testing::Message() << "tag " << c.tag << ", " << c.channels << " channels, "
                                        << c.rate << " Hz, " << c.bits << " bits");
        EXPECT_EQ(header.inProgramSlots(), c.inSlots);
        const auto layout = PcmFileLayout::fromHeader(header);
        ASSERT_EQ(layout.has_value(), c.fileBytes != 0);
        if (!layout)
            continue;
        EXPECT_EQ(layout->format, (SampleFormat { c.channels, int(c.rate), c.bits }));
        EXPECT_EQ(layout->fileBytesPerSample, c.fileBytes);
        EXPECT_EQ(layout->format.bytesPerSample(), c.slotBytes);
        EXPECT_EQ(layout->packed(), c.fileBytes != c.slotBytes);
    }
}

TEST(PcmFileLayout, PackedTwentyFourBitSamplesWidenWithTheirSign)
{
    const uint8_t in[] = { 0xff, 0xff, 0x7f, 0x00, 0x00, 0x80, 0xff, 0xff, 0xff, 0x01, 0x00, 0x00 };
    int32_t out[4] = {};
    PcmFileLayout::unpack24(in, reinterpret_cast<uint8_t *>(out), 4);
    EXPECT_EQ(std::vector<int32_t>(out, out + 4),
              (std::vector<int32_t> { 8388607, -8388608, -1, 1 }));
}
