#include "WaveRecordingFile.h"

#include "WaveFile.h"

#include <algorithm>

namespace corvane::audio {

std::unique_ptr<WaveRecordingFile> WaveRecordingFile::create(const std::filesystem::path &path,
                                                             const StreamFormat &format,
                                                             std::string &why)
{
    std::unique_ptr<WaveRecordingFile> file(new WaveRecordingFile);
    const WaveFormat wave = WaveFormat::pcm(static_cast<uint16_t>(format.channels),
                                            static_cast<uint32_t>(format.sampleRate),
                                            static_cast<uint16_t>(format.bitsPerSample));
    file->m_frameBytes = static_cast<uint32_t>(std::max(1, format.frameBytes()));
    if (CreateWaveFileHr(path, wave, file->m_writer) != S_OK) {
        why = path.has_parent_path()
                ? "The file cannot be created in " + path.parent_path().string() + "."
                : "The file cannot be created in the current folder.";
        return nullptr;
    }
    if (BeginWaveDataHr(file->m_writer) != S_OK) {
        FinishWaveFileHr(file->m_writer, 0);
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        why = "The file's header cannot be written.";
        return nullptr;
    }
    return file;
}

WaveRecordingFile::~WaveRecordingFile()
{
    // A file nobody finished still gets a valid header that counts frames.
    if (!m_finished)
        finish(static_cast<uint32_t>(m_writer.dataBytes() / m_frameBytes));
}

bool WaveRecordingFile::write(const std::byte *data, std::size_t size,
                              std::size_t &written) noexcept
{
    written = 0;
    return WriteWaveDataHr(m_writer, std::span<const std::byte>(data, size), written) == S_OK;
}

bool WaveRecordingFile::finish(uint32_t frames) noexcept
{
    if (m_finished)
        return true;
    m_finished = true;
    return FinishWaveFileHr(m_writer, frames) == S_OK;
}

} // namespace corvane::audio
