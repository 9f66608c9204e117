#pragma once

#include "SampleFormat.h"

#include <cstdint>
#include <vector>

namespace corvane {

// The format block of a wave file's `fmt ` chunk, as an owned value: the file's own record,
// kept inside the wave-file layer. On disk: the six fields below (16 bytes), then, for formats
// other than PCM, the count of extra bytes (u16) and the extra bytes themselves. What the rest
// of the program sees of it is a SampleFormat (see WaveReader).
struct WaveFormat
{
    static constexpr uint16_t kPcmTag = 1;

    uint16_t formatTag = 0; // 1 = PCM
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0; // Hz
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0; // bytes per frame (all channels)
    uint16_t bitsPerSample = 0;
    std::vector<uint8_t> extra; // at most 65535 bytes; always empty for PCM

    bool isPcm() const noexcept { return formatTag == kPcmTag; }

    // The standard PCM header of samples in `format`, as every other program reads it: 8 and
    // 16-bit samples in 1 and 2 bytes, 24-bit samples packed in 3. (The program holds 24-bit
    // samples in 4-byte slots; that is a memory layout, not a file format: the writer packs
    // them.)
    static WaveFormat pcm(const SampleFormat &format)
    {
        WaveFormat f;
        f.formatTag = kPcmTag;
        f.channels = static_cast<uint16_t>(format.channels);
        f.samplesPerSec = static_cast<uint32_t>(format.sampleRate);
        f.bitsPerSample = static_cast<uint16_t>(format.bitsPerSample);
        const int32_t sampleBytes = (format.bitsPerSample + 7) / 8;
        f.blockAlign = static_cast<uint16_t>(sampleBytes * format.channels);
        f.avgBytesPerSec = static_cast<uint32_t>(static_cast<int64_t>(f.blockAlign)
                                                 * static_cast<int64_t>(format.sampleRate));
        return f;
    }

    // Whether the data hold 24-bit PCM packed in 3 bytes, which the program widens to (or
    // narrows from) its 4-byte slots.
    bool packed24() const noexcept
    {
        return isPcm() && bitsPerSample == 24 && channels > 0 && blockAlign == channels * 3;
    }

    // Channels, rate and depth as the header states them. A rate beyond the range of int32
    // comes out negative, and so not valid().
    SampleFormat samples() const noexcept
    {
        return { channels, static_cast<int32_t>(samplesPerSec), bitsPerSample };
    }

    // Whether the data are plain PCM exactly as the program holds samples, so that the bytes can
    // be used as they are: format tag 1, a format the program carries, and a block alignment of
    // one slot per sample (8 and 16-bit files, and the 24-bit files of earlier versions, which
    // kept the 4-byte slots).
    bool inProgramSlots() const noexcept
    {
        const SampleFormat format = samples();
        return isPcm() && format.valid() && blockAlign == format.frameBytes();
    }

    bool operator==(const WaveFormat &) const = default;
};

} // namespace corvane
