#include "RiffFile.h"

#include <array>
#include <limits>

namespace corvane {

namespace {

    constexpr FourCC RiffId = makeFourCC("RIFF");
    constexpr FourCC ListId = makeFourCC("LIST");
    constexpr size_t BufferBytes = 64 * 1024;

    bool hasFormType(FourCC id) noexcept
    {
        return id == RiffId || id == ListId;
    }

    uint32_t fromLe32(const std::array<std::byte, 4> &b) noexcept
    {
        return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8
                | static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
    }

    std::array<std::byte, 4> toLe32(uint32_t v) noexcept
    {
        return { std::byte(v & 0xFF), std::byte((v >> 8) & 0xFF), std::byte((v >> 16) & 0xFF),
                 std::byte(v >> 24) };
    }

    uint64_t paddedEnd(const ChunkInfo &chunk) noexcept
    {
        return chunk.dataOffset + chunk.size + (chunk.size & 1u);
    }

} // namespace

uint32_t RiffFile::open(const std::filesystem::path &path, Mode mode)
{
    close();
    // The buffer must be in place before the file opens, or the stream ignores it.
    m_buffer.resize(BufferBytes);
    m_file.pubsetbuf(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
    const auto how = mode == Mode::Read
            ? std::ios::in | std::ios::binary
            : std::ios::in | std::ios::out | std::ios::trunc | std::ios::binary;
    if (!m_file.open(path, how))
        return RIFF_ERR_CANNOT_OPEN;
    m_mode = mode;
    m_lastOp = LastOp::None;
    return 0;
}

uint32_t RiffFile::close() noexcept
{
    if (!m_file.is_open())
        return 0;
    const bool flushed = m_file.pubsync() == 0;
    const bool closed = m_file.close() != nullptr;
    m_lastOp = LastOp::None;
    return flushed && closed ? 0 : RIFF_ERR_CANNOT_WRITE;
}

void RiffFile::switchTo(LastOp op) noexcept
{
    if (m_lastOp != LastOp::None && m_lastOp != op)
        m_file.pubseekoff(0, std::ios::cur, std::ios::in | std::ios::out);
    m_lastOp = op;
}

uint64_t RiffFile::position() noexcept
{
    const auto pos = m_file.pubseekoff(0, std::ios::cur, std::ios::in | std::ios::out);
    return pos < 0 ? BadPosition : static_cast<uint64_t>(pos);
}

uint32_t RiffFile::seek(uint64_t offset) noexcept
{
    if (!m_file.is_open())
        return RIFF_ERR_NOT_READY;
    if (offset > static_cast<uint64_t>(std::numeric_limits<std::streamoff>::max()))
        return RIFF_ERR_CANNOT_SEEK;
    const auto pos =
            m_file.pubseekpos(static_cast<std::streamoff>(offset), std::ios::in | std::ios::out);
    m_lastOp = LastOp::None;
    return pos == std::streampos(std::streamoff(-1)) ? RIFF_ERR_CANNOT_SEEK : 0;
}

size_t RiffFile::read(std::span<std::byte> dest) noexcept
{
    if (!m_file.is_open() || dest.empty())
        return 0;
    switchTo(LastOp::Read);
    const auto got = m_file.sgetn(reinterpret_cast<char *>(dest.data()),
                                  static_cast<std::streamsize>(dest.size()));
    return got < 0 ? 0 : static_cast<size_t>(got);
}

size_t RiffFile::write(std::span<const std::byte> source) noexcept
{
    if (!m_file.is_open() || m_mode != Mode::Create || source.empty())
        return 0;
    switchTo(LastOp::Write);
    const auto put = m_file.sputn(reinterpret_cast<const char *>(source.data()),
                                  static_cast<std::streamsize>(source.size()));
    return put < 0 ? 0 : static_cast<size_t>(put);
}

uint32_t RiffFile::readU32(uint32_t &value) noexcept
{
    std::array<std::byte, 4> bytes {};
    if (read(bytes) != bytes.size())
        return RIFF_ERR_CANNOT_READ;
    value = fromLe32(bytes);
    return 0;
}

uint32_t RiffFile::writeU32(uint32_t value) noexcept
{
    const auto bytes = toLe32(value);
    return write(bytes) == bytes.size() ? 0 : RIFF_ERR_CANNOT_WRITE;
}

uint32_t RiffFile::flush() noexcept
{
    if (!m_file.is_open())
        return RIFF_ERR_NOT_READY;
    return m_file.pubsync() == 0 ? 0 : RIFF_ERR_CANNOT_WRITE;
}

uint32_t RiffFile::readHeader(ChunkInfo &chunk, uint64_t start) noexcept
{
    // Running out of file inside a header means there is no further chunk.
    ChunkInfo found;
    if (readU32(found.id) != 0 || readU32(found.size) != 0)
        return RIFF_ERR_CHUNK_NOT_FOUND;
    found.dataOffset = start + 8;
    if (hasFormType(found.id) && readU32(found.formType) != 0)
        return RIFF_ERR_CHUNK_NOT_FOUND;
    chunk = found;
    return 0;
}

uint32_t RiffFile::descend(ChunkInfo &chunk) noexcept
{
    if (!m_file.is_open())
        return RIFF_ERR_NOT_READY;
    const uint64_t start = position();
    return start == BadPosition ? RIFF_ERR_CANNOT_SEEK : readHeader(chunk, start);
}

uint32_t RiffFile::descendFind(ChunkInfo &chunk, FourCC id, const ChunkInfo *parent) noexcept
{
    if (!m_file.is_open())
        return RIFF_ERR_NOT_READY;
    const uint64_t end =
            parent ? parent->dataOffset + parent->size : std::numeric_limits<uint64_t>::max();
    for (;;) {
        const uint64_t start = position();
        if (start == BadPosition)
            return RIFF_ERR_CANNOT_SEEK;
        if (start > end || end - start < 8)
            return RIFF_ERR_CHUNK_NOT_FOUND;
        ChunkInfo candidate;
        if (const uint32_t err = readHeader(candidate, start))
            return err;
        if (candidate.id == id) {
            chunk = candidate;
            return 0;
        }
        if (const uint32_t err = seek(paddedEnd(candidate)))
            return err;
    }
}

uint32_t RiffFile::ascend(ChunkInfo &chunk) noexcept
{
    if (!m_file.is_open())
        return RIFF_ERR_NOT_READY;
    if (!(chunk.flags & ChunkInfo::Dirty))
        return seek(paddedEnd(chunk));

    const uint64_t end = position();
    if (end == BadPosition || end < chunk.dataOffset)
        return RIFF_ERR_CANNOT_SEEK;
    const uint64_t written = end - chunk.dataOffset;
    // A wrapped size would make the whole file unreadable; refuse rather than store it.
    if (written > std::numeric_limits<uint32_t>::max())
        return RIFF_ERR_TOO_LARGE;
    if (written != chunk.size) {
        chunk.size = static_cast<uint32_t>(written);
        if (const uint32_t err = seek(chunk.dataOffset - 4))
            return err;
        if (const uint32_t err = writeU32(chunk.size))
            return err;
        if (const uint32_t err = seek(end))
            return err;
    }
    if (chunk.size & 1u) {
        const std::byte pad { 0 };
        if (write(std::span(&pad, 1)) != 1)
            return RIFF_ERR_CANNOT_WRITE;
    }
    chunk.flags &= ~ChunkInfo::Dirty;
    return 0;
}

uint32_t RiffFile::writeHeader(ChunkInfo &chunk, FourCC id, uint32_t size,
                               const FourCC *formType) noexcept
{
    if (!m_file.is_open() || m_mode != Mode::Create)
        return RIFF_ERR_NOT_READY;
    const uint64_t start = position();
    if (start == BadPosition)
        return RIFF_ERR_CANNOT_SEEK;
    if (writeU32(id) != 0 || writeU32(size) != 0)
        return RIFF_ERR_CANNOT_WRITE;
    if (formType && writeU32(*formType) != 0)
        return RIFF_ERR_CANNOT_WRITE;
    chunk = ChunkInfo { id, size, formType ? *formType : 0, start + 8, ChunkInfo::Dirty };
    return 0;
}

uint32_t RiffFile::createChunk(ChunkInfo &chunk, FourCC id, uint32_t size) noexcept
{
    return writeHeader(chunk, id, size, nullptr);
}

uint32_t RiffFile::createRiff(ChunkInfo &chunk, FourCC formType, uint32_t size) noexcept
{
    return writeHeader(chunk, RiffId, size, &formType);
}

} // namespace corvane
