#pragma once

// Wave files built byte by byte for the analysis tests, so that headers the program's own
// writer would never produce (ADPCM, extensible, packed 24-bit, damaged) can be made too.

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace corvane::test {

struct WaveHeader
{
    uint16_t formatTag = 1;
    uint16_t channels = 1;
    uint32_t sampleRate = 11025;
    uint16_t bitsPerSample = 16;
    std::optional<uint16_t> blockAlign; // default: channels x bytes per sample
    std::vector<uint8_t> extra;         // bytes behind the 18-byte header (written when not PCM)
};

// Levels -1..1, one value per frame; `channels` copies of it per frame.
inline std::vector<uint8_t> pcmBytes(const std::vector<double> &frames, int channels, int bits)
{
    std::vector<uint8_t> bytes;
    const int width = bits / 8;
    bytes.reserve(frames.size() * static_cast<std::size_t>(channels * width));
    for (double x : frames) {
        for (int c = 0; c < channels; ++c) {
            if (bits == 8) {
                bytes.push_back(static_cast<uint8_t>(std::lround(x * 127.0 + 128.0)));
                continue;
            }
            const double scale = bits == 16 ? 32767.0 : 8388607.0;
            const int32_t value = static_cast<int32_t>(std::lround(x * scale));
            for (int b = 0; b < width; ++b)
                bytes.push_back(static_cast<uint8_t>((value >> (8 * b)) & 0xff));
        }
    }
    return bytes;
}

// A sine with a little second harmonic, like a plucked string past its attack.
inline std::vector<double> tone(double hz, double seconds, uint32_t rate, double amplitude = 0.5)
{
    const auto count = static_cast<std::size_t>(seconds * rate);
    std::vector<double> frames(count);
    constexpr double kTwoPi = 6.283185307179586;
    for (std::size_t i = 0; i < count; ++i) {
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

namespace detail {
    inline void put16(std::vector<uint8_t> &out, uint32_t v)
    {
        out.push_back(static_cast<uint8_t>(v & 0xff));
        out.push_back(static_cast<uint8_t>((v >> 8) & 0xff));
    }
    inline void put32(std::vector<uint8_t> &out, uint32_t v)
    {
        put16(out, v & 0xffff);
        put16(out, v >> 16);
    }
    inline void putId(std::vector<uint8_t> &out, const char *id)
    {
        out.insert(out.end(), id, id + 4);
    }
} // namespace detail

// RIFF/WAVE with a `fmt ` chunk and a `data` chunk holding `data`. `dataSizeClaim` overrides
// the data chunk's size field (for damaged files).
inline void writeWave(const std::filesystem::path &path, const WaveHeader &header,
                      const std::vector<uint8_t> &data,
                      std::optional<uint32_t> dataSizeClaim = std::nullopt)
{
    using namespace detail;
    const bool plain = header.formatTag == 1 && header.extra.empty();
    const uint32_t bytesPerSample = header.bitsPerSample == 24 ? 3u : header.bitsPerSample / 8u;
    const uint16_t align =
            header.blockAlign.value_or(static_cast<uint16_t>(header.channels * bytesPerSample));

    std::vector<uint8_t> fmt;
    put16(fmt, header.formatTag);
    put16(fmt, header.channels);
    put32(fmt, header.sampleRate);
    put32(fmt, header.sampleRate * align);
    put16(fmt, align);
    put16(fmt, header.bitsPerSample);
    if (!plain) {
        put16(fmt, static_cast<uint32_t>(header.extra.size()));
        fmt.insert(fmt.end(), header.extra.begin(), header.extra.end());
    }

    std::vector<uint8_t> file;
    putId(file, "RIFF");
    put32(file, 0);
    putId(file, "WAVE");
    putId(file, "fmt ");
    put32(file, static_cast<uint32_t>(fmt.size()));
    file.insert(file.end(), fmt.begin(), fmt.end());
    if (fmt.size() % 2)
        file.push_back(0);
    putId(file, "data");
    put32(file, dataSizeClaim.value_or(static_cast<uint32_t>(data.size())));
    file.insert(file.end(), data.begin(), data.end());
    if (data.size() % 2)
        file.push_back(0);
    const uint32_t riffSize = static_cast<uint32_t>(file.size() - 8);
    for (int b = 0; b < 4; ++b)
        file[4 + b] = static_cast<uint8_t>((riffSize >> (8 * b)) & 0xff);

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(file.data()),
              static_cast<std::streamsize>(file.size()));
}

// Reads a little-endian u32 / u16 at `offset` of a file.
inline uint32_t fileU32(const std::filesystem::path &path, std::streamoff offset)
{
    std::ifstream in(path, std::ios::binary);
    in.seekg(offset);
    uint8_t b[4] = {};
    in.read(reinterpret_cast<char *>(b), 4);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

inline uint16_t fileU16(const std::filesystem::path &path, std::streamoff offset)
{
    return static_cast<uint16_t>(fileU32(path, offset) & 0xffff);
}

} // namespace corvane::test
