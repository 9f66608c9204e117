#pragma once

// Wave files built byte by byte for the analysis tests, so that headers the program's own
// writer would never produce (ADPCM, extensible, packed 24-bit, damaged) can be made too.

#include "FileBytes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace corvane::test {

struct WaveHeader
{
    uint16_t formatTag = 1;
    uint16_t channels = 1;
    uint32_t sampleRate = 11025;
    uint16_t bitsPerSample = 16;
    std::optional<uint16_t> blockAlign; // default: channels x bytes per sample
    std::vector<uint8_t> extra;         // behind the extra-size field (written when not plain PCM)
};

inline WaveHeader waveHeader(uint16_t channels, uint32_t sampleRate = 11025,
                             uint16_t bitsPerSample = 16,
                             std::optional<uint16_t> blockAlign = std::nullopt,
                             uint16_t formatTag = 1, std::vector<uint8_t> extra = {})
{
    WaveHeader header;
    header.formatTag = formatTag;
    header.channels = channels;
    header.sampleRate = sampleRate;
    header.bitsPerSample = bitsPerSample;
    header.blockAlign = blockAlign;
    header.extra = std::move(extra);
    return header;
}

inline WaveHeader adpcmHeader()
{
    return waveHeader(1, 11025, 4, 256, 2, { 0xf4, 0x01, 7, 0 });
}

// The 22 extra bytes of an extensible header: valid bits, channel mask, sub-format.
inline std::vector<uint8_t> extensibleExtra(uint8_t subFormatTag)
{
    return { 16, 0,    4, 0,    0, 0, subFormatTag, 0, 0,    0,    0,
             0,  0x10, 0, 0x80, 0, 0, 0xaa,         0, 0x38, 0x9b, 0x71 };
}

// Levels -1..1, one value per frame; `channels` copies of it per frame, 8, 16 or packed 24-bit.
inline std::vector<uint8_t> pcmBytes(const std::vector<double> &frames, int channels, int bits)
{
    std::vector<uint8_t> bytes;
    const double scale = bits == 8 ? 127.0 : bits == 16 ? 32767.0 : 8388607.0;
    for (double x : frames) {
        const int32_t value = static_cast<int32_t>(std::lround(x * scale)) + (bits == 8 ? 128 : 0);
        for (int c = 0; c < channels; ++c) {
            for (int b = 0; b < bits / 8; ++b)
                bytes.push_back(static_cast<uint8_t>((value >> (8 * b)) & 0xff));
        }
    }
    return bytes;
}

// Two channels of levels -1..1 interleaved, 8, 16 or packed 24-bit (the shorter channel sets the
// length).
inline std::vector<uint8_t> stereoPcmBytes(const std::vector<double> &left,
                                           const std::vector<double> &right, int bits)
{
    std::vector<uint8_t> out;
    const std::size_t frames = std::min(left.size(), right.size());
    for (std::size_t i = 0; i < frames; ++i) {
        for (const std::vector<double> *channel : { &left, &right }) {
            const auto one = pcmBytes({ (*channel)[i] }, 1, bits);
            out.insert(out.end(), one.begin(), one.end());
        }
    }
    return out;
}

// A sine with a little second harmonic, like a plucked string past its attack.
inline std::vector<double> tone(double hz, double seconds, uint32_t rate, double amplitude = 0.5)
{
    std::vector<double> frames(static_cast<std::size_t>(seconds * rate));
    constexpr double kTwoPi = 6.283185307179586;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        frames[i] =
                amplitude * (0.8 * std::sin(kTwoPi * hz * t) + 0.2 * std::sin(2 * kTwoPi * hz * t));
    }
    return frames;
}

inline std::vector<double> silence(double seconds, uint32_t rate)
{
    return std::vector<double>(static_cast<std::size_t>(seconds * rate), 0.0);
}

inline void append(std::vector<double> &to, const std::vector<double> &more)
{
    to.insert(to.end(), more.begin(), more.end());
}

// RIFF/WAVE with a `fmt ` chunk and a `data` chunk holding `data`.
inline void writeWave(const std::filesystem::path &path, const WaveHeader &header,
                      const std::vector<uint8_t> &data)
{
    const uint16_t align = header.blockAlign.value_or(
            static_cast<uint16_t>(header.channels * (header.bitsPerSample / 8)));
    Bytes fmt;
    fmt.u16(header.formatTag)
            .u16(header.channels)
            .u32(header.sampleRate)
            .u32(header.sampleRate * align)
            .u16(align)
            .u16(header.bitsPerSample);
    if (header.formatTag != 1 || !header.extra.empty())
        fmt.u16(static_cast<uint16_t>(header.extra.size())).raw(header.extra);
    Bytes().chunk("RIFF", Bytes().tag("WAVE").chunk("fmt ", fmt).chunk("data", Bytes().raw(data)))
            .save(path);
}

} // namespace corvane::test
