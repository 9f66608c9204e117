#pragma once

#include "RecordingFile.h"
#include "SampleFormat.h"

#include "WaveWriter.h"

#include <filesystem>
#include <memory>
#include <string>

namespace corvane::audio {

// A PCM wave file written block by block through the wave writer: the tuner's takes, the takes
// of `tonrik --record`, and the virtual playback device's output file. Standard PCM on disk
// (24-bit samples packed in 3 bytes); blocks come in as the program holds samples.
//
// A take stays readable whatever happens to the program: every block is handed to the system
// as it is written, and at least every half second of sound the header's RIFF and data sizes
// are brought up to what is stored (two in-place 4-byte writes and the frame count, on the
// capture thread, no allocation, no lock). A take killed at any moment reads, in any program,
// up to the last update; this program's reader recovers the rest (WaveReader::dataRecovered).
class WaveRecordingFile final : public RecordingFile
{
public:
    // Creates `path` with its header and starts the data; null, with the reason in `why` and
    // no file left behind, on failure. User-interface thread; allocates.
    static std::unique_ptr<WaveRecordingFile> create(const std::filesystem::path &path,
                                                     const SampleFormat &format, std::string &why);

    ~WaveRecordingFile() override;

    bool write(const std::byte *data, std::size_t size, std::size_t &written) noexcept override;
    bool finish(uint32_t frames) noexcept override;
    int systemError() const noexcept override { return m_systemError; }
    // In the bytes handed to write() (24-bit samples counted in their 4-byte slots).
    uint64_t capacity() const noexcept override
    {
        return m_writer.slotBytesFor(m_writer.dataByteCap());
    }

private:
    WaveRecordingFile() = default;

    WaveWriter m_writer;
    uint64_t m_updateEvery = 1; // file data bytes between updates of the header's sizes
    uint64_t m_nextUpdate = 0;  // file data bytes at which the header is brought up to date
    int m_systemError = 0;
    bool m_finished = false;
};

} // namespace corvane::audio
