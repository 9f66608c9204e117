#include "PcmFileFormat.h"

#include <cstring>

namespace corvane {

namespace {

    // The sub-format of an extensible header that says "PCM":
    // 00000001-0000-0010-8000-00aa00389b71, as stored little-endian in the file.
    constexpr uint8_t kPcmSubFormat[16] = { 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                            0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71 };

    // Valid bits (2), channel mask (4), then the sub-format.
    constexpr std::size_t kSubFormatOffset = 6;

    bool extensiblePcm(const uint8_t *extra, std::size_t extraSize) noexcept
    {
        return extra && extraSize >= kSubFormatOffset + sizeof kPcmSubFormat
                && std::memcmp(extra + kSubFormatOffset, kPcmSubFormat, sizeof kPcmSubFormat) == 0;
    }

} // namespace

std::optional<PcmFileFormat> PcmFileFormat::fromHeader(uint16_t formatTag, uint16_t channels,
                                                       uint32_t samplesPerSecond,
                                                       uint16_t blockAlign, uint16_t bitsPerSample,
                                                       const uint8_t *extra,
                                                       std::size_t extraSize) noexcept
{
    const bool pcm = formatTag == kTagPcm
            || (formatTag == kTagExtensible && extensiblePcm(extra, extraSize));
    if (!pcm || channels < 1 || channels > 2 || samplesPerSecond == 0 || samplesPerSecond > 1000000)
        return std::nullopt;

    PcmFileFormat format;
    format.channels = channels;
    format.sampleRate = static_cast<int>(samplesPerSecond);
    format.bitsPerSample = bitsPerSample;
    switch (bitsPerSample) {
    case 8:
        format.fileBytesPerSample = format.slotBytes = 1;
        break;
    case 16:
        format.fileBytesPerSample = format.slotBytes = 2;
        break;
    case 24:
        // Files this program saved keep 24-bit samples in 4-byte slots; everyone else packs
        // them in 3 bytes.
        format.slotBytes = 4;
        format.fileBytesPerSample = blockAlign == 4 * channels ? 4 : 3;
        break;
    default:
        return std::nullopt;
    }
    return format;
}

void PcmFileFormat::unpack24(const uint8_t *in, uint8_t *out, std::size_t samples) noexcept
{
    for (std::size_t i = 0; i < samples; ++i, in += 3, out += 4) {
        const uint8_t sign = (in[2] & 0x80) ? 0xFF : 0x00;
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        out[3] = sign;
    }
}

} // namespace corvane
