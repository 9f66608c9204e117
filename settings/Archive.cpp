#include "Archive.h"

#include <bit>

namespace corvane {

void Archive::put(std::uint32_t value, int byteCount)
{
    for (int i = 0; i < byteCount; ++i)
        m_stored.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint32_t Archive::take(int byteCount)
{
    if (m_source.size() - m_position < static_cast<std::size_t>(byteCount))
        throw ArchiveError("unexpected end of archive");
    std::uint32_t value = 0;
    for (int i = 0; i < byteCount; ++i)
        value |= std::uint32_t { m_source[m_position++] } << (8 * i);
    return value;
}

void Archive::requireStoring() const
{
    if (m_loading)
        throw ArchiveError("cannot load into a constant value");
}

void Archive::Exchange(std::uint16_t &value)
{
    if (m_loading)
        value = static_cast<std::uint16_t>(take(2));
    else
        put(value, 2);
}

void Archive::Exchange(std::uint32_t &value)
{
    if (m_loading)
        value = take(4);
    else
        put(value, 4);
}

void Archive::Exchange(std::int32_t &value)
{
    if (m_loading)
        value = static_cast<std::int32_t>(take(4));
    else
        put(static_cast<std::uint32_t>(value), 4);
}

void Archive::Exchange(float &value)
{
    if (m_loading)
        value = std::bit_cast<float>(take(4));
    else
        put(std::bit_cast<std::uint32_t>(value), 4);
}

void Archive::Exchange(char *bytes, std::size_t count)
{
    if (!m_loading) {
        Exchange(static_cast<const char *>(bytes), count);
        return;
    }
    if (m_source.size() - m_position < count)
        throw ArchiveError("unexpected end of archive");
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>(m_source[m_position++]);
}

void Archive::Exchange(const std::uint16_t &value)
{
    requireStoring();
    put(value, 2);
}

void Archive::Exchange(const std::uint32_t &value)
{
    requireStoring();
    put(value, 4);
}

void Archive::Exchange(const std::int32_t &value)
{
    requireStoring();
    put(static_cast<std::uint32_t>(value), 4);
}

void Archive::Exchange(const float &value)
{
    requireStoring();
    put(std::bit_cast<std::uint32_t>(value), 4);
}

void Archive::Exchange(const char *bytes, std::size_t count)
{
    requireStoring();
    for (std::size_t i = 0; i < count; ++i)
        m_stored.push_back(static_cast<std::uint8_t>(bytes[i]));
}

std::span<const std::uint8_t> Archive::Bytes() const noexcept
{
    if (m_loading)
        return m_source.subspan(m_position);
    return m_stored;
}

} // namespace corvane
