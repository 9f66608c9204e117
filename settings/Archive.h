#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace corvane {

// Thrown by a loading Archive asked for more bytes than it holds, and by a storing use of a
// loading archive or the reverse (a programming error).
class ArchiveError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A flat little-endian byte archive for the settings record: no header, no padding, no type
// tags, so the bytes are exactly the primitives in the order they pass through it.
//
// A storing archive collects the bytes in memory (Bytes()); a loading archive reads from a span
// it does not own, which must outlive it. One `Exchange` call per field serves both directions,
// so a record lists its fields once. Floats are IEEE single precision, stored as their bits.
// Not thread safe; allocates while storing.
class Archive
{
public:
    // A storing archive, empty.
    Archive() = default;
    // A loading archive over `bytes`.
    explicit Archive(std::span<const std::uint8_t> bytes) noexcept
        : m_source(bytes)
        , m_loading(true)
    {
    }

    bool IsStoring() const noexcept { return !m_loading; }
    bool IsLoading() const noexcept { return m_loading; }

    // Storing: appends the value. Loading: reads it, or throws ArchiveError at the end of the
    // data (the value is then left as it was).
    void Exchange(std::uint16_t &value);
    void Exchange(std::uint32_t &value);
    void Exchange(std::int32_t &value);
    void Exchange(float &value);
    void Exchange(char *bytes, std::size_t count);

    // Storing only; a loading archive throws ArchiveError.
    void Exchange(const std::uint16_t &value);
    void Exchange(const std::uint32_t &value);
    void Exchange(const std::int32_t &value);
    void Exchange(const float &value);
    void Exchange(const char *bytes, std::size_t count);

    // Storing: the bytes so far. Loading: the bytes not yet read.
    std::span<const std::uint8_t> Bytes() const noexcept;

private:
    void put(std::uint32_t value, int byteCount);
    std::uint32_t take(int byteCount);
    void requireStoring() const;

    std::vector<std::uint8_t> m_stored;
    std::span<const std::uint8_t> m_source;
    std::size_t m_position = 0;
    bool m_loading = false;
};

} // namespace corvane
