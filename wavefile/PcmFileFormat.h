#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace corvane {

// The sample layout of a wave file's data as the analysis reads it. Only what is really PCM is
// accepted: format tag 1, or an extensible header whose sub-format is PCM; one or two channels;
// a rate above 0; 8, 16 or 24 bits. 24-bit data may come packed in 3 bytes (the usual layout)
// or in the program's own 4-byte slots; packed data are unpacked into slots before analysis.
struct PcmFileFormat
{
    static constexpr uint16_t kTagPcm = 1;
    static constexpr uint16_t kTagExtensible = 0xFFFE;

    int channels = 0;           // 1 or 2
    int sampleRate = 0;         // Hz, > 0
    int bitsPerSample = 0;      // 8, 16 or 24
    int fileBytesPerSample = 0; // bytes of one sample in the file: 1, 2, 3 or 4
    int slotBytes = 0;          // bytes of one sample as the analyzer takes it: 1, 2 or 4

    // The layout of a header's fields, or nothing when the analysis cannot take the file.
    // `extra` holds the `extraSize` bytes behind the 18-byte header (may be null when 0).
    static std::optional<PcmFileFormat> fromHeader(uint16_t formatTag, uint16_t channels,
                                                   uint32_t samplesPerSecond, uint16_t blockAlign,
                                                   uint16_t bitsPerSample, const uint8_t *extra,
                                                   std::size_t extraSize) noexcept;

    bool packed() const noexcept { return fileBytesPerSample != slotBytes; }

    // Widens `samples` packed 24-bit little-endian samples at `in` into sign-extended 32-bit
    // slots at `out`. Never allocates.
    static void unpack24(const uint8_t *in, uint8_t *out, std::size_t samples) noexcept;
};

} // namespace corvane
