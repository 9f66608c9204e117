#pragma once

// Builds and reads whole files byte by byte, for golden-byte checks of the RIFF formats.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

namespace corvane::test {

class Bytes
{
public:
    Bytes &tag(std::string_view fourChars)
    {
        m_bytes.insert(m_bytes.end(), fourChars.begin(), fourChars.end());
        return *this;
    }
    Bytes &u16(uint16_t v) { return raw({ uint8_t(v), uint8_t(v >> 8) }); }
    Bytes &u32(uint32_t v) { return u16(uint16_t(v)).u16(uint16_t(v >> 16)); }
    Bytes &raw(std::vector<uint8_t> bytes)
    {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    Bytes &chunk(std::string_view id, const Bytes &content, bool pad = true)
    {
        tag(id).u32(uint32_t(content.m_bytes.size())).raw(content.m_bytes);
        if (pad && content.m_bytes.size() % 2)
            m_bytes.push_back(0);
        return *this;
    }
    // A 16-byte PCM format block.
    Bytes &pcm(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t align)
    {
        return u16(1).u16(channels).u32(rate).u32(rate * align).u16(align).u16(bits);
    }

    const std::vector<uint8_t> &bytes() const { return m_bytes; }

    void save(const std::filesystem::path &path) const
    {
        std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char *>(m_bytes.data()),
                       std::streamsize(m_bytes.size()));
    }

private:
    std::vector<uint8_t> m_bytes;
};

inline std::vector<uint8_t> fileBytes(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

inline uint16_t le16At(const std::vector<uint8_t> &b, size_t at)
{
    return uint16_t(b.at(at) | b.at(at + 1) << 8);
}

inline uint32_t le32At(const std::vector<uint8_t> &b, size_t at)
{
    return le16At(b, at) | uint32_t(le16At(b, at + 2)) << 16;
}

} // namespace corvane::test
