#pragma once

#include "RecordingFile.h"
#include "SampleFormat.h"

#include "WaveWriter.h"

#include <filesystem>
#include <memory>
#include <string>

namespace corvane::audio {

// A PCM wave file written block by block through the wave writer: the recording file
// "tune0000.wav", and the virtual playback device's output file.
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
    uint64_t capacity() const noexcept override { return m_writer.dataByteCap(); }

private:
    WaveRecordingFile() = default;

    WaveWriter m_writer;
    uint32_t m_frameBytes = 1;
    bool m_finished = false;
};

} // namespace corvane::audio
