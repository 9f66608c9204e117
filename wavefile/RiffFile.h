#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace corvane {

// A four-character chunk code as it lies on disk: the first character in the lowest byte.
using FourCC = uint32_t;

constexpr FourCC makeFourCC(const char (&code)[5]) noexcept
{
    return static_cast<FourCC>(static_cast<unsigned char>(code[0]))
            | static_cast<FourCC>(static_cast<unsigned char>(code[1])) << 8
            | static_cast<FourCC>(static_cast<unsigned char>(code[2])) << 16
            | static_cast<FourCC>(static_cast<unsigned char>(code[3])) << 24;
}

// Failures of the chunk layer. Zero is success. The values stay clear of the wave-file codes
// (0xE000 ... 0xE104) so that callers can pass them on unchanged.
constexpr uint32_t RIFF_ERR_CANNOT_OPEN = 0x0101;     // the file could not be opened or created
constexpr uint32_t RIFF_ERR_CANNOT_READ = 0x0102;     // a read came up short
constexpr uint32_t RIFF_ERR_CANNOT_WRITE = 0x0103;    // a write or a flush came up short
constexpr uint32_t RIFF_ERR_CANNOT_SEEK = 0x0104;     // the file position could not be set
constexpr uint32_t RIFF_ERR_CHUNK_NOT_FOUND = 0x0105; // no (further) chunk where one was sought
constexpr uint32_t RIFF_ERR_TOO_LARGE = 0x0106;       // a chunk would pass the 32-bit size field
constexpr uint32_t RIFF_ERR_NOT_READY = 0x0107;       // no file open, or a step called out of order

// Describes one chunk: filled by descend and createChunk, consumed by ascend.
struct ChunkInfo
{
    static constexpr uint32_t kDirty = 0x1; // created by us: ascend patches the size and pads

    FourCC id = 0;
    uint32_t size = 0;       // bytes of content, without the pad byte
    FourCC formType = 0;     // RIFF and LIST chunks only; it counts as content
    uint64_t dataOffset = 0; // file offset of the first content byte (of the form type for RIFF)
    uint32_t flags = 0;
};

// A RIFF file opened for reading, or created for reading and writing, through a buffer of its
// own. All numbers on disk are little-endian. Every operation returns 0 or a RIFF_ERR_ code (or
// a short count) and none throws: a read error of the disk, a directory given for a file or a
// full disk all come back as codes, with the system's reason in lastSystemError().
//
// Written bytes wait in the buffer until it is full, flush() is called or the file is closed. A
// flush that fails keeps the bytes it could not store, so a later flush can try again;
// discardUnstored() gives them up instead.
//
// Not thread-safe: one thread at a time, handed over between threads only across a join or
// an equivalent barrier. Opening allocates the buffer; reads, writes and chunk steps do not.
class RiffFile
{
public:
    enum class Mode {
        Read,   // existing file, read only
        Create, // created or truncated, read and write
    };

    RiffFile() = default;
    ~RiffFile(); // closes without reporting a failed flush; use close() to see it
    RiffFile(const RiffFile &) = delete;
    RiffFile &operator=(const RiffFile &) = delete;

    uint32_t open(const std::filesystem::path &path, Mode mode);
    // Flushes and closes; RIFF_ERR_CANNOT_WRITE when written bytes could not be stored.
    uint32_t close() noexcept;
    bool isOpen() const noexcept { return m_fd >= 0; }
    // The errno of the last failed system call (0 when none failed since opening): what a
    // message can name as the cause ("permission denied", "is a directory").
    int lastSystemError() const noexcept { return m_systemError; }

    // Enters the chunk that starts at the current position. Afterwards the position is at the
    // first content byte (behind the form type for RIFF and LIST chunks).
    uint32_t descend(ChunkInfo &chunk) noexcept;

    // From the current position, skips whole chunks (and their pad bytes) until one with the
    // identifier `id` starts, and enters it. With a parent the search stays inside the parent's
    // content; without one it runs to the end of the file.
    uint32_t descendFind(ChunkInfo &chunk, FourCC id, const ChunkInfo *parent = nullptr) noexcept;

    // Leaves a chunk. For a chunk we created, the size field is patched to the bytes written
    // up to the current position and a zero pad byte follows odd content; otherwise the
    // position moves behind the chunk's content and its pad byte.
    uint32_t ascend(ChunkInfo &chunk) noexcept;

    // Writes a chunk header at the current position and enters the new chunk. createRiff
    // writes a RIFF chunk with its form type.
    uint32_t createChunk(ChunkInfo &chunk, FourCC id, uint32_t size = 0) noexcept;
    uint32_t createRiff(ChunkInfo &chunk, FourCC formType, uint32_t size = 0) noexcept;

    static constexpr uint64_t kBadPosition = UINT64_MAX;
    uint32_t seek(uint64_t offset) noexcept; // absolute byte offset
    // The current byte offset, or kBadPosition when it cannot be told (for instance because
    // buffered bytes could not be written out first).
    uint64_t position() noexcept;

    // Return the bytes transferred; fewer than asked means end of file or a failure.
    size_t read(std::span<std::byte> dest) noexcept;
    size_t write(std::span<const std::byte> source) noexcept;

    uint32_t readU32(uint32_t &value) noexcept;
    uint32_t writeU32(uint32_t value) noexcept;

    // Pushes buffered bytes to the file.
    uint32_t flush() noexcept;

    // Forgets the written bytes not yet stored and moves to `offset`, which must not lie behind
    // the position: a block that could not be stored whole is taken back this way, so the next
    // one goes where it would have gone.
    uint32_t discardUnstored(uint64_t offset) noexcept;

    // Stores `value` at `offset` at once, without moving the position or storing what is
    // buffered: a size field brought up to date while the file grows. One system call; never
    // allocates.
    uint32_t patchU32(uint64_t offset, uint32_t value) noexcept;

    // The length of the file on the disk (what is buffered not counted), or kBadPosition.
    uint64_t storedLength() noexcept;

    // Cuts the file at the current position, after storing what is buffered: bytes of a block
    // that was taken back may lie beyond it.
    uint32_t truncateHere() noexcept;

private:
    // Refills the read buffer at the position; false at the end of the file or on an error.
    bool fillBuffer() noexcept;
    // Stores the pending written bytes; those that could not be stored stay pending.
    uint32_t storePending() noexcept;
    uint32_t writeHeader(ChunkInfo &chunk, FourCC id, uint32_t size,
                         const FourCC *formType) noexcept;
    uint32_t readHeader(ChunkInfo &chunk, uint64_t start) noexcept;

    // The buffer mirrors the file from m_bufferStart: m_bufferUsed bytes read ahead, or written
    // and not yet stored (m_pending). The position is m_bufferStart + m_bufferPos.
    std::vector<std::byte> m_buffer;
    uint64_t m_bufferStart = 0;
    std::size_t m_bufferUsed = 0;
    std::size_t m_bufferPos = 0;
    bool m_pending = false;
    int m_fd = -1;
    int m_systemError = 0;
    Mode m_mode = Mode::Read;
};

} // namespace corvane
