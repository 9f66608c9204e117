#pragma once

#include "SampleFormat.h"
#include "WaveFormat.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace corvane {

// How a wave file's data hold the samples the analysis reads. Only what is really PCM is
// accepted: format tag 1, or an extensible header whose sub-format is PCM; one or two channels;
// a rate from 1 Hz to kMaxSampleRate; 8, 16 or 24 bits. 24-bit data may come packed in 3 bytes
// (the usual layout) or in the program's own 4-byte slots; packed data are unpacked into slots
// before analysis.
struct PcmFileLayout
{
    static constexpr uint16_t kTagExtensible = 0xFFFE;
    // Far above any real recording; what claims more is taken for a damaged header.
    static constexpr int32_t kMaxSampleRate = 1000000;

    SampleFormat format;            // the samples as the analyzer takes them
    int32_t fileBytesPerSample = 0; // bytes of one sample in the file: 1, 2, 3 or 4

    // The layout of a file with this header, or nothing when the analysis cannot take it.
    static std::optional<PcmFileLayout> fromHeader(const WaveFormat &header) noexcept;

    // Why fromHeader refuses `header`, in words to follow "Not a PCM Wave file" ("3 channels;
    // 1 or 2 are supported"); empty when it does not refuse it. Allocates.
    static std::string refusal(const WaveFormat &header);

    // Whether the analysis can take samples in `format`, wherever they come from.
    static constexpr bool analyzable(const SampleFormat &format) noexcept
    {
        return format.valid() && format.sampleRate <= kMaxSampleRate;
    }

    bool packed() const noexcept { return fileBytesPerSample != format.bytesPerSample(); }

    // Widens `samples` packed 24-bit little-endian samples at `in` into sign-extended 32-bit
    // slots at `out`. Never allocates.
    static void unpack24(const uint8_t *in, uint8_t *out, std::size_t samples) noexcept;
    // The reverse: the low 3 bytes of each 4-byte slot at `in`, packed at `out`. Never
    // allocates.
    static void pack24(const uint8_t *in, uint8_t *out, std::size_t samples) noexcept;
};

} // namespace corvane
