#pragma once

#include "PcmFileLayout.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace corvane {

// A wave file opened for analysis: its header checked, standing at its first data byte.
// Hides the wave reader's handle and chunk bookkeeping from the analysis.
class WaveFileInput
{
public:
    enum class Status { Ok, WaveError, NotPcm, NoData };

    WaveFileInput();
    ~WaveFileInput();
    WaveFileInput(const WaveFileInput &) = delete;
    WaveFileInput &operator=(const WaveFileInput &) = delete;

    // Opens the file and finds its data. On WaveError and NoData, errorMessage() holds the
    // wave reader's message for the code with the path; on NotPcm the header was not PCM the
    // analysis can take. The file is closed again on every failure.
    Status open(const std::filesystem::path &path);
    const std::string &errorMessage() const noexcept { return m_error; }

    // How the data hold the samples.
    const PcmFileLayout &layout() const noexcept { return m_layout; }

    // Reads up to `bytes` data bytes into `out`; returns the number read, 0 at the end or on a
    // read error (which ends the data; readError() then says why).
    std::size_t read(uint8_t *out, std::size_t bytes) noexcept;

    // Whether the data's size was recovered from the file's length (a take whose writer died;
    // WaveReader::dataRecovered), and what the header claimed then.
    bool dataRecovered() const noexcept { return m_dataRecovered; }
    uint64_t headerDataBytes() const noexcept { return m_headerDataBytes; }

    // The bytes the data chunk claims, and where they begin in the file.
    uint64_t dataBytes() const noexcept { return m_dataBytes; }
    uint64_t dataOffset() const noexcept { return m_dataOffset; }
    // The reader's code that ended the data early (WAVE_ERR_CORRUPT when the file ends before
    // its data chunk does, RIFF_ERR_CANNOT_READ when the disk failed), 0 when none did; and the
    // system's errno behind it, 0 when it gave none.
    uint32_t readError() const noexcept { return m_readError; }
    int readSystemError() const noexcept { return m_readSystemError; }

    void close() noexcept;

private:
    struct Reader;
    std::unique_ptr<Reader> m_reader;
    PcmFileLayout m_layout;
    std::string m_error;
    uint64_t m_dataBytes = 0;
    uint64_t m_dataOffset = 0;
    uint64_t m_headerDataBytes = 0;
    bool m_dataRecovered = false;
    uint32_t m_readError = 0;
    int m_readSystemError = 0;
};

} // namespace corvane
