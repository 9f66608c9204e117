#pragma once

#include <cstdint>
#include <vector>

namespace corvane {

// The format block of a wave file's `fmt ` chunk, as an owned value. On disk: the six fields
// below (16 bytes), then, for formats other than PCM, the count of extra bytes (u16) and the
// extra bytes themselves.
struct WaveFormat
{
    static constexpr uint16_t PcmTag = 1;

    uint16_t formatTag = 0; // 1 = PCM
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0; // Hz
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0; // bytes per frame (all channels)
    uint16_t bitsPerSample = 0;
    std::vector<uint8_t> extra; // at most 65535 bytes; always empty for PCM

    bool isPcm() const noexcept { return formatTag == PcmTag; }

    // The bytes one sample takes in a frame: 1 for 8 bits, 2 for 16 and 4 for 24 bits, which
    // the program keeps in 4-byte slots like its capture blocks.
    static constexpr uint16_t slotBytes(uint16_t bitsPerSample) noexcept
    {
        return bitsPerSample == 24 ? 4 : static_cast<uint16_t>((bitsPerSample + 7) / 8);
    }

    // A PCM format with block alignment and byte rate filled in from the slot size.
    static WaveFormat pcm(uint16_t channels, uint32_t samplesPerSec, uint16_t bitsPerSample)
    {
        WaveFormat f;
        f.formatTag = PcmTag;
        f.channels = channels;
        f.samplesPerSec = samplesPerSec;
        f.bitsPerSample = bitsPerSample;
        f.blockAlign = static_cast<uint16_t>(channels * slotBytes(bitsPerSample));
        f.avgBytesPerSec = samplesPerSec * f.blockAlign;
        return f;
    }

    bool operator==(const WaveFormat &) const = default;
};

} // namespace corvane
