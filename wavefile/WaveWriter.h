#pragma once

#include "RiffFile.h"
#include "WaveFormat.h"

#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <span>

namespace corvane {

class WaveWriter;
uint32_t CreateWaveFile(const std::filesystem::path &path, const WaveFormat &format,
                        WaveWriter &writer);
uint32_t BeginWaveData(WaveWriter &writer) noexcept;
uint32_t WriteWaveData(WaveWriter &writer, std::span<const std::byte> source,
                       size_t &bytesWritten) noexcept;
uint32_t WriteWaveBlock(WaveWriter &writer, std::span<const std::byte> source) noexcept;
uint32_t FinishWaveFile(WaveWriter &writer, uint32_t sampleCount) noexcept;
uint32_t UpdateWaveSizes(WaveWriter &writer) noexcept;

// Everything a wave file being written holds: the file, its format and the RIFF, `fact` and
// data chunk descriptors. Driven by the writer functions in WaveFile.h.
//
// The writer is handed samples as the program holds them (SampleFormat: 24-bit samples in
// 4-byte slots). When the file's format packs 24-bit samples in 3 bytes (WaveFormat::pcm does),
// the writer packs them on the way; otherwise the bytes go to the file as they are.
//
// A writer destroyed while its file is still open finishes it as FinishWaveFile would, with
// the frame count of the data written, so that a recording is never left with an invalid
// header. Movable, not copyable. One thread at a time: the capture thread may write
// a writer that the user-interface thread created, once the thread start has handed it over.
class WaveWriter
{
public:
    WaveWriter() = default;
    ~WaveWriter();
    WaveWriter(WaveWriter &&) noexcept = default;
    WaveWriter &operator=(WaveWriter &&) = delete; // would have to finish the file it replaces

    bool isOpen() const noexcept { return m_file != nullptr; }
    const WaveFormat &format() const noexcept { return m_format; }
    // Data bytes appended so far, as they lie in the file.
    uint64_t dataBytes() const noexcept { return m_dataBytes; }
    // The errno behind the last failure of a writer function (kept after FinishWaveFile closed
    // the file), 0 when the system gave none.
    int systemError() const noexcept { return m_file ? m_file->lastSystemError() : m_closedError; }
    // Whether 4-byte slots handed in become 3-byte samples in the file.
    bool packs24() const noexcept { return m_packs24; }
    // File bytes counted as the bytes handed in that make them (4 per 3 when packing).
    uint64_t slotBytesFor(uint64_t fileBytes) const noexcept
    {
        return m_packs24 ? fileBytes / 3 * 4 : fileBytes;
    }

    // The most data bytes the file can take: what keeps the RIFF and data sizes within 32 bits
    // (with room for a pad byte), whole frames only, and never more than a limit set here.
    // The limit may be set at any time and only ever lowers the cap; writes beyond it are
    // refused with RIFF_ERR_TOO_LARGE, whatever fits still being written.
    void limitDataBytes(uint64_t maxBytes) noexcept { m_userLimit = maxBytes; }
    uint64_t dataByteCap() const noexcept;

private:
    friend uint32_t CreateWaveFile(const std::filesystem::path &, const WaveFormat &, WaveWriter &);
    friend uint32_t BeginWaveData(WaveWriter &) noexcept;
    friend uint32_t WriteWaveData(WaveWriter &, std::span<const std::byte>, size_t &) noexcept;
    friend uint32_t WriteWaveBlock(WaveWriter &, std::span<const std::byte>) noexcept;
    friend uint32_t FinishWaveFile(WaveWriter &, uint32_t) noexcept;
    friend uint32_t UpdateWaveSizes(WaveWriter &) noexcept;

    enum class Stage {
        Opened,        // the file exists; the header may be incomplete
        HeaderWritten, // RIFF, `fmt ` and `fact` are in place
        WritingData,   // inside the data chunk
    };

    std::unique_ptr<RiffFile> m_file;
    WaveFormat m_format;
    Stage m_stage = Stage::Opened;
    ChunkInfo m_riff;
    ChunkInfo m_fmt;
    ChunkInfo m_fact;
    ChunkInfo m_data;
    uint64_t m_dataBytes = 0;
    bool m_packs24 = false;
    int m_closedError = 0;
    uint64_t m_userLimit = std::numeric_limits<uint64_t>::max();
};

} // namespace corvane
