#pragma once

#include "SampleFormat.h"

#include <cstdint>

namespace corvane {

// The format of one block of PCM bytes as the graph's ends, the analyzer and the tone generator
// take it: a sample format and the frames in a block. It is a SampleFormat, so that it passes
// as one wherever only the samples' layout matters (the devices, the wave files).
struct PcmFormat : SampleFormat
{
    int32_t blockLength = 0; // frames per block

    constexpr PcmFormat() noexcept = default;
    constexpr PcmFormat(int32_t blockLength, const SampleFormat &samples) noexcept
        : SampleFormat(samples)
        , blockLength(blockLength)
    {
    }
    constexpr PcmFormat(int32_t blockLength, int32_t channels, int32_t sampleRate,
                        int32_t bitsPerSample) noexcept
        : PcmFormat(blockLength, SampleFormat { channels, sampleRate, bitsPerSample })
    {
    }

    const SampleFormat &samples() const noexcept { return *this; }

    // Bytes of one whole block; 0 for a depth the graph cannot convert.
    constexpr int64_t blockBytes() const noexcept
    {
        return int64_t { blockLength } * channels * bytesPerSample();
    }

    friend constexpr bool operator==(const PcmFormat &, const PcmFormat &) = default;
};

} // namespace corvane
