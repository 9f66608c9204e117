#pragma once

#include "SampleFormat.h"

#include <cstdint>

namespace corvane {

// A sample format as the settings record keeps it. The defaults file stores it as the packed
// 18-byte wave-format header (format tag, channels, samples per second, average bytes per
// second, block alignment, bits per sample, extra size), little-endian, in this field order.
// The program uses only the channels, rate and depth (`format`); the other fields are kept as
// they were stored and go back to the file unchanged, and are worked out afresh (PCM, one slot
// per sample, no extra bytes) when a new format is stored through of().
struct StoredSampleFormat
{
    SampleFormat format { 1, 11025, 16 };
    std::uint16_t formatTag = 1; // 1 = PCM
    std::uint32_t avgBytesPerSec = 11025;
    std::uint16_t blockAlign = 1;
    std::uint16_t extraSize = 0;

    static constexpr StoredSampleFormat of(const SampleFormat &format) noexcept
    {
        return { format, 1, static_cast<std::uint32_t>(format.bytesPerSecond()),
                 static_cast<std::uint16_t>(format.frameBytes()), 0 };
    }

    friend constexpr bool operator==(const StoredSampleFormat &,
                                     const StoredSampleFormat &) = default;
};

} // namespace corvane
