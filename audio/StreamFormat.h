#pragma once

#include "PcmFormat.h"

#include <cstddef>
#include <cstdint>

namespace corvane::audio {

// What a device stream carries: interleaved frames, channel 0 first. 8-bit samples are unsigned
// (128 = silence), 16-bit samples signed; 24-bit samples travel inside the program in 4-byte
// slots as signed 32-bit integers holding -8388608 ... 8388607.
struct StreamFormat
{
    int32_t channels = 1;
    int32_t sampleRate = 11025; // Hz
    int32_t bitsPerSample = 16; // 8, 16 or 24

    // Bytes of one sample inside the program: 1, 2 or 4; 0 for a depth devices cannot carry.
    constexpr int32_t bytesPerSample() const noexcept { return pcmSlotBytes(bitsPerSample); }
    constexpr int32_t frameBytes() const noexcept { return channels * bytesPerSample(); }
    constexpr bool valid() const noexcept
    {
        return (channels == 1 || channels == 2) && sampleRate > 0 && bytesPerSample() > 0;
    }
    // The byte value that fills silent buffers.
    constexpr std::byte silenceByte() const noexcept
    {
        return bitsPerSample == 8 ? std::byte { 128 } : std::byte { 0 };
    }

    friend constexpr bool operator==(const StreamFormat &, const StreamFormat &) = default;
};

} // namespace corvane::audio
