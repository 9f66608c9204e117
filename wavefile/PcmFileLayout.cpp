#include "PcmFileLayout.h"

#include <cstdio>
#include <cstring>

namespace corvane {

namespace {

    // The sub-format of an extensible header that says "PCM":
    // 00000001-0000-0010-8000-00aa00389b71, as stored little-endian in the file.
    constexpr uint8_t kPcmSubFormat[16] = { 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                            0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71 };

    // Valid bits (2), channel mask (4), then the sub-format.
    constexpr std::size_t kSubFormatOffset = 6;

    bool extensiblePcm(const std::vector<uint8_t> &extra) noexcept
    {
        return extra.size() >= kSubFormatOffset + sizeof kPcmSubFormat
                && std::memcmp(extra.data() + kSubFormatOffset, kPcmSubFormat, sizeof kPcmSubFormat)
                == 0;
    }

} // namespace

std::optional<PcmFileLayout> PcmFileLayout::fromHeader(const WaveFormat &header) noexcept
{
    const bool pcm =
            header.isPcm() || (header.formatTag == kTagExtensible && extensiblePcm(header.extra));
    // The rate is checked before it becomes an int32, which a damaged one may not fit.
    if (!pcm || header.samplesPerSec > static_cast<uint32_t>(kMaxSampleRate))
        return std::nullopt;
    PcmFileLayout layout;
    layout.format = header.samples();
    if (!analyzable(layout.format))
        return std::nullopt;
    layout.fileBytesPerSample = layout.format.bytesPerSample();
    // Files this program saved keep 24-bit samples in 4-byte slots; everyone else packs them
    // in 3 bytes.
    if (layout.format.bitsPerSample == 24 && header.blockAlign != layout.format.frameBytes())
        layout.fileBytesPerSample = 3;
    return layout;
}

std::string PcmFileLayout::refusal(const WaveFormat &header)
{
    if (fromHeader(header))
        return {};
    const bool pcm =
            header.isPcm() || (header.formatTag == kTagExtensible && extensiblePcm(header.extra));
    if (!pcm) {
        char tag[8];
        std::snprintf(tag, sizeof tag, "0x%04X", static_cast<unsigned>(header.formatTag));
        return std::string("format tag ") + tag + "; only PCM (1) is supported";
    }
    if (header.channels != 1 && header.channels != 2)
        return std::to_string(header.channels) + " channels; 1 or 2 are supported";
    if (SampleFormat::slotBytes(header.bitsPerSample) == 0)
        return std::to_string(header.bitsPerSample) + " bits per sample; 8, 16 or 24 are supported";
    return std::to_string(header.samplesPerSec) + " samples per second; 1 to "
            + std::to_string(kMaxSampleRate) + " are supported";
}

void PcmFileLayout::unpack24(const uint8_t *in, uint8_t *out, std::size_t samples) noexcept
{
    for (std::size_t i = 0; i < samples; ++i, in += 3, out += 4) {
        const uint8_t sign = (in[2] & 0x80) ? 0xFF : 0x00;
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        out[3] = sign;
    }
}

void PcmFileLayout::pack24(const uint8_t *in, uint8_t *out, std::size_t samples) noexcept
{
    for (std::size_t i = 0; i < samples; ++i, in += 4, out += 3) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
    }
}

} // namespace corvane
