#pragma once

#include "PcmFileLayout.h"
#include "RiffFile.h"
#include "SampleFormat.h"
#include "WaveFormat.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>

namespace corvane {

class WaveReader;
uint32_t OpenWaveForReading(const std::filesystem::path &path, WaveReader &reader);
uint32_t SeekWaveData(WaveReader &reader) noexcept;
uint32_t ReadWaveData(WaveReader &reader, std::span<std::byte> dest, size_t &bytesRead) noexcept;
uint32_t CloseWaveReader(WaveReader &reader) noexcept;

// Everything an open wave file being read holds: the file, its format block and the RIFF and
// data chunk descriptors. Driven by the reader functions in WaveFile.h; destroying it closes
// the file. Movable, not copyable; one thread at a time.
class WaveReader
{
public:
    WaveReader() = default;
    WaveReader(WaveReader &&) noexcept = default;
    WaveReader &operator=(WaveReader &&) noexcept = default;

    bool isOpen() const noexcept { return m_file != nullptr; }
    // The file's format block, filled by OpenWaveForReading.
    const WaveFormat &format() const noexcept { return m_format; }
    // The data's format when the file holds plain PCM in the program's own sample slots (see
    // WaveFormat::inProgramSlots), so that its bytes can be used as they are; nothing otherwise.
    std::optional<SampleFormat> slotFormat() const noexcept
    {
        if (!m_format.inProgramSlots())
            return std::nullopt;
        return m_format.samples();
    }
    // How the analysis takes the data, or nothing when it cannot (see PcmFileLayout).
    std::optional<PcmFileLayout> pcmLayout() const noexcept
    {
        return PcmFileLayout::fromHeader(m_format);
    }
    const ChunkInfo &riffChunk() const noexcept { return m_riff; }
    // Filled by SeekWaveData; its size counts down the data bytes still unread.
    const ChunkInfo &dataChunk() const noexcept { return m_data; }
    bool atData() const noexcept { return m_atData; }

    // The errno behind the last failure of a reader function (0 when the system reported
    // none, as for a file that is merely not a wave): the cause a message can add.
    int systemError() const noexcept { return m_systemError; }

    // After SeekWaveData: whether the data chunk's size was taken from the file's length
    // because the header claimed less (0, or short) than the file holds behind it: a take whose
    // writer was killed before it finished. claimedDataBytes() is what the header said.
    bool dataRecovered() const noexcept { return m_dataRecovered; }
    uint32_t claimedDataBytes() const noexcept { return m_claimedDataBytes; }

    uint32_t dataBytesLeft() const noexcept { return m_atData ? m_data.size : 0; }
    // Whole frames still unread (0 for a format without a block alignment).
    uint32_t framesLeft() const noexcept
    {
        return m_format.blockAlign ? dataBytesLeft() / m_format.blockAlign : 0;
    }

private:
    friend uint32_t OpenWaveForReading(const std::filesystem::path &, WaveReader &);
    friend uint32_t SeekWaveData(WaveReader &) noexcept;
    friend uint32_t ReadWaveData(WaveReader &, std::span<std::byte>, size_t &) noexcept;
    friend uint32_t CloseWaveReader(WaveReader &) noexcept;

    std::unique_ptr<RiffFile> m_file;
    WaveFormat m_format;
    ChunkInfo m_riff;
    ChunkInfo m_data;
    bool m_atData = false;
    bool m_dataRecovered = false;
    uint32_t m_claimedRiffSize = 0;
    uint32_t m_claimedDataBytes = 0;
    int m_systemError = 0;
};

} // namespace corvane
