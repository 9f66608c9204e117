#pragma once

#include <cstdint>

namespace corvane {

// The format of a block of PCM bytes as the sound devices, wave files, the analyzer and the
// tone generator exchange it. Frames are interleaved, channel 0 first. 8-bit samples are
// unsigned with 128 as silence; 16-bit samples are signed little-endian; 24-bit samples sit in
// 4-byte slots as signed little-endian 32-bit integers holding -8388608 ... 8388607.
// Bytes one sample of `bitsPerSample` occupies inside the program: 1, 2 or 4 (24-bit samples use
// 4-byte slots); 0 for any depth the program cannot carry.
constexpr int32_t pcmSlotBytes(int32_t bitsPerSample) noexcept
{
    switch (bitsPerSample) {
    case 8:
        return 1;
    case 16:
        return 2;
    case 24:
        return 4;
    default:
        return 0;
    }
}

struct PcmFormat
{
    int32_t blockLength = 0;   // frames per block
    int32_t channels = 0;      // 1 or 2
    int32_t sampleRate = 0;    // Hz
    int32_t bitsPerSample = 0; // 8, 16 or 24

    // Bytes one sample occupies: 1, 2 or 4 (24-bit samples use 4-byte slots); 0 for any other
    // depth.
    constexpr int32_t bytesPerSample() const noexcept { return pcmSlotBytes(bitsPerSample); }

    // Bytes of one whole block; 0 for a depth the graph cannot convert.
    constexpr int64_t blockBytes() const noexcept
    {
        return int64_t { blockLength } * channels * bytesPerSample();
    }

    friend constexpr bool operator==(const PcmFormat &, const PcmFormat &) = default;
};

} // namespace corvane
