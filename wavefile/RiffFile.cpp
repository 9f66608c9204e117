#include "RiffFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

    constexpr FourCC kRiffId = makeFourCC("RIFF");
    constexpr FourCC kListId = makeFourCC("LIST");
    constexpr size_t kBufferBytes = 64 * 1024;

    bool hasFormType(FourCC id) noexcept
    {
        return id == kRiffId || id == kListId;
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

RiffFile::~RiffFile()
{
    close();
}

uint32_t RiffFile::open(const std::filesystem::path &path, Mode mode)
{
    close();
    m_buffer.resize(kBufferBytes);
    m_systemError = 0;
    const int flags = mode == Mode::Read ? O_RDONLY : O_RDWR | O_CREAT | O_TRUNC;
    int fd = -1;
    do
        fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        m_systemError = errno;
        return RIFF_ERR_CANNOT_OPEN;
    }
    // A directory opens for reading but every read of it fails; say so at once.
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        m_systemError = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        return RIFF_ERR_CANNOT_OPEN;
    }
    m_fd = fd;
    m_mode = mode;
    m_bufferStart = 0;
    m_bufferUsed = m_bufferPos = 0;
    m_pending = false;
    return 0;
}

uint32_t RiffFile::close() noexcept
{
    if (m_fd < 0)
        return 0;
    const bool stored = storePending() == 0;
    const bool closed = ::close(m_fd) == 0;
    if (!closed)
        m_systemError = errno;
    m_fd = -1;
    m_bufferUsed = m_bufferPos = 0;
    m_pending = false;
    return stored && closed ? 0 : RIFF_ERR_CANNOT_WRITE;
}

uint32_t RiffFile::storePending() noexcept
{
    if (!m_pending)
        return 0;
    std::size_t stored = 0;
    uint32_t result = 0;
    while (stored < m_bufferUsed) {
        const ssize_t put = ::pwrite(m_fd, m_buffer.data() + stored, m_bufferUsed - stored,
                                     static_cast<off_t>(m_bufferStart + stored));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            m_systemError = put < 0 ? errno : ENOSPC;
            result = RIFF_ERR_CANNOT_WRITE;
            break;
        }
        stored += static_cast<std::size_t>(put);
    }
    // What reached the file leaves the buffer; the rest waits for the next try.
    std::memmove(m_buffer.data(), m_buffer.data() + stored, m_bufferUsed - stored);
    m_bufferStart += stored;
    m_bufferUsed -= stored;
    m_bufferPos = m_bufferUsed;
    m_pending = m_bufferUsed > 0;
    return result;
}

bool RiffFile::fillBuffer() noexcept
{
    m_bufferStart += m_bufferPos;
    m_bufferUsed = m_bufferPos = 0;
    for (;;) {
        const ssize_t got =
                ::pread(m_fd, m_buffer.data(), m_buffer.size(), static_cast<off_t>(m_bufferStart));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            m_systemError = errno;
        if (got <= 0)
            return false;
        m_bufferUsed = static_cast<std::size_t>(got);
        return true;
    }
}

uint64_t RiffFile::position() noexcept
{
    return m_fd < 0 ? kBadPosition : m_bufferStart + m_bufferPos;
}

uint32_t RiffFile::seek(uint64_t offset) noexcept
{
    if (m_fd < 0)
        return RIFF_ERR_NOT_READY;
    if (offset > static_cast<uint64_t>(std::numeric_limits<off_t>::max()))
        return RIFF_ERR_CANNOT_SEEK;
    if (storePending())
        return RIFF_ERR_CANNOT_WRITE;
    if (offset >= m_bufferStart && offset <= m_bufferStart + m_bufferUsed) {
        m_bufferPos = static_cast<std::size_t>(offset - m_bufferStart);
    } else {
        m_bufferStart = offset;
        m_bufferUsed = m_bufferPos = 0;
    }
    return 0;
}

size_t RiffFile::read(std::span<std::byte> dest) noexcept
{
    if (m_fd < 0 || dest.empty() || storePending())
        return 0;
    std::size_t done = 0;
    while (done < dest.size()) {
        if (m_bufferPos == m_bufferUsed && !fillBuffer())
            break;
        const std::size_t n = std::min(dest.size() - done, m_bufferUsed - m_bufferPos);
        std::memcpy(dest.data() + done, m_buffer.data() + m_bufferPos, n);
        m_bufferPos += n;
        done += n;
    }
    return done;
}

size_t RiffFile::write(std::span<const std::byte> source) noexcept
{
    if (m_fd < 0 || m_mode != Mode::Create || source.empty())
        return 0;
    if (!m_pending) {
        // Read-ahead bytes behind the position are dropped; writing starts at the position.
        m_bufferStart += m_bufferPos;
        m_bufferUsed = m_bufferPos = 0;
        m_pending = true;
    }
    std::size_t done = 0;
    while (done < source.size()) {
        if (m_bufferUsed == m_buffer.size() && storePending())
            break;
        m_pending = true;
        const std::size_t n = std::min(source.size() - done, m_buffer.size() - m_bufferUsed);
        std::memcpy(m_buffer.data() + m_bufferUsed, source.data() + done, n);
        m_bufferUsed += n;
        m_bufferPos = m_bufferUsed;
        done += n;
    }
    return done;
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
    if (m_fd < 0)
        return RIFF_ERR_NOT_READY;
    return storePending();
}

uint32_t RiffFile::discardUnstored(uint64_t offset) noexcept
{
    if (m_fd < 0)
        return RIFF_ERR_NOT_READY;
    if (offset > position())
        return RIFF_ERR_CANNOT_SEEK;
    if (m_pending && offset >= m_bufferStart) {
        // Only bytes from `offset` on are given up; those before it are still to be stored.
        m_bufferUsed = static_cast<std::size_t>(offset - m_bufferStart);
        m_bufferPos = m_bufferUsed;
        m_pending = m_bufferUsed > 0;
        return 0;
    }
    m_bufferStart = offset;
    m_bufferUsed = m_bufferPos = 0;
    m_pending = false;
    return 0;
}

uint32_t RiffFile::patchU32(uint64_t offset, uint32_t value) noexcept
{
    if (m_fd < 0 || m_mode != Mode::Create)
        return RIFF_ERR_NOT_READY;
    const auto bytes = toLe32(value);
    // The buffer may mirror these bytes (read ahead, or written and not yet stored); it must
    // agree with the file, or a later store would put the old value back.
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const uint64_t at = offset + i;
        if (at >= m_bufferStart && at < m_bufferStart + m_bufferUsed)
            m_buffer[static_cast<std::size_t>(at - m_bufferStart)] = bytes[i];
    }
    for (;;) {
        const ssize_t put = ::pwrite(m_fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (put < 0 && errno == EINTR)
            continue;
        if (put != static_cast<ssize_t>(bytes.size())) {
            m_systemError = put < 0 ? errno : ENOSPC;
            return RIFF_ERR_CANNOT_WRITE;
        }
        return 0;
    }
}

uint64_t RiffFile::storedLength() noexcept
{
    struct stat info
    {
    };
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0)
        return kBadPosition;
    return static_cast<uint64_t>(info.st_size);
}

uint32_t RiffFile::truncateHere() noexcept
{
    if (m_fd < 0 || m_mode != Mode::Create)
        return RIFF_ERR_NOT_READY;
    if (const uint32_t err = storePending())
        return err;
    if (::ftruncate(m_fd, static_cast<off_t>(position())) != 0) {
        m_systemError = errno;
        return RIFF_ERR_CANNOT_WRITE;
    }
    return 0;
}

uint32_t RiffFile::readHeader(ChunkInfo &chunk, uint64_t start) noexcept
{
    // Running out of file inside a header means there is no further chunk; a failing disk is
    // another matter.
    ChunkInfo found;
    const int errorBefore = m_systemError;
    m_systemError = 0;
    const bool whole = readU32(found.id) == 0 && readU32(found.size) == 0
            && (!hasFormType(found.id) || readU32(found.formType) == 0);
    const bool failed = m_systemError != 0;
    if (!failed)
        m_systemError = errorBefore;
    if (!whole)
        return failed ? RIFF_ERR_CANNOT_READ : RIFF_ERR_CHUNK_NOT_FOUND;
    found.dataOffset = start + 8;
    chunk = found;
    return 0;
}

uint32_t RiffFile::descend(ChunkInfo &chunk) noexcept
{
    if (m_fd < 0)
        return RIFF_ERR_NOT_READY;
    const uint64_t start = position();
    return start == kBadPosition ? RIFF_ERR_CANNOT_SEEK : readHeader(chunk, start);
}

uint32_t RiffFile::descendFind(ChunkInfo &chunk, FourCC id, const ChunkInfo *parent) noexcept
{
    if (m_fd < 0)
        return RIFF_ERR_NOT_READY;
    const uint64_t end =
            parent ? parent->dataOffset + parent->size : std::numeric_limits<uint64_t>::max();
    for (;;) {
        const uint64_t start = position();
        if (start == kBadPosition)
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
    if (m_fd < 0)
        return RIFF_ERR_NOT_READY;
    if (!(chunk.flags & ChunkInfo::kDirty))
        return seek(paddedEnd(chunk));

    const uint64_t end = position();
    if (end == kBadPosition || end < chunk.dataOffset)
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
    chunk.flags &= ~ChunkInfo::kDirty;
    return 0;
}

uint32_t RiffFile::writeHeader(ChunkInfo &chunk, FourCC id, uint32_t size,
                               const FourCC *formType) noexcept
{
    if (m_fd < 0 || m_mode != Mode::Create)
        return RIFF_ERR_NOT_READY;
    const uint64_t start = position();
    if (start == kBadPosition)
        return RIFF_ERR_CANNOT_SEEK;
    if (writeU32(id) != 0 || writeU32(size) != 0)
        return RIFF_ERR_CANNOT_WRITE;
    if (formType && writeU32(*formType) != 0)
        return RIFF_ERR_CANNOT_WRITE;
    chunk = ChunkInfo { id, size, formType ? *formType : 0, start + 8, ChunkInfo::kDirty };
    return 0;
}

uint32_t RiffFile::createChunk(ChunkInfo &chunk, FourCC id, uint32_t size) noexcept
{
    return writeHeader(chunk, id, size, nullptr);
}

uint32_t RiffFile::createRiff(ChunkInfo &chunk, FourCC formType, uint32_t size) noexcept
{
    return writeHeader(chunk, kRiffId, size, &formType);
}

} // namespace corvane
