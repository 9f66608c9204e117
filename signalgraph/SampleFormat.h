#pragma once

#include <cstddef>
#include <cstdint>

namespace corvane {

// How PCM samples are laid out wherever the program holds them: in the sound devices' streams,
// the capture ring, the graph's blocks, the wave files it writes and the settings. Frames are
// interleaved, channel 0 first. 8-bit samples are unsigned with 128 as silence; 16-bit samples
// are signed little-endian; 24-bit samples sit in 4-byte slots as signed little-endian 32-bit
// integers holding -8388608 ... 8388607, so that every sample is one aligned load.
//
// A plain value: any thread, never allocates. A default-constructed format is no format at all
// (everything 0, not valid()).
struct SampleFormat
{
    int32_t channels = 0;      // 1 or 2
    int32_t sampleRate = 0;    // Hz
    int32_t bitsPerSample = 0; // 8, 16 or 24

    // Bytes one sample of `bitsPerSample` occupies inside the program: 1, 2 or 4; 0 for any
    // depth the program cannot carry.
    static constexpr int32_t slotBytes(int32_t bitsPerSample) noexcept
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

    constexpr int32_t bytesPerSample() const noexcept { return slotBytes(bitsPerSample); }
    // Bytes of one frame, all channels; 0 for a depth the program cannot carry.
    constexpr int32_t frameBytes() const noexcept { return channels * bytesPerSample(); }
    constexpr int64_t bytesPerSecond() const noexcept
    {
        return int64_t { sampleRate } * channels * bytesPerSample();
    }

    // One or two channels, a rate above 0 and a depth the program can carry.
    constexpr bool valid() const noexcept
    {
        return (channels == 1 || channels == 2) && sampleRate > 0 && bytesPerSample() > 0;
    }

    // The byte value that fills silent buffers.
    constexpr std::byte silenceByte() const noexcept
    {
        return bitsPerSample == 8 ? std::byte { 128 } : std::byte { 0 };
    }

    friend constexpr bool operator==(const SampleFormat &, const SampleFormat &) = default;
};

} // namespace corvane
