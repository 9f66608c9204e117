#include "WaveRecordingFile.h"

#include "WaveFile.h"

#include <algorithm>

namespace corvane::audio {

std::unique_ptr<WaveRecordingFile> WaveRecordingFile::create(const std::filesystem::path &path,
                                                             const SampleFormat &format,
                                                             std::string &why)
{
    std::unique_ptr<WaveRecordingFile> file(new WaveRecordingFile);
    // Twice a second of sound: at least once a second of wall time, whatever the jitter.
    const WaveFormat header = WaveFormat::pcm(format);
    file->m_updateEvery = std::max<uint64_t>(header.avgBytesPerSec / 2, 1);
    file->m_nextUpdate = file->m_updateEvery;
    if (CreateWaveFile(path, format, file->m_writer) != 0) {
        // A header that could not be written whole leaves the file open in the writer.
        FinishWaveFile(file->m_writer, 0);
        why = path.has_parent_path()
                ? "The file cannot be created in " + path.parent_path().string() + "."
                : "The file cannot be created in the current folder.";
        return nullptr;
    }
    if (BeginWaveData(file->m_writer) != 0) {
        FinishWaveFile(file->m_writer, 0);
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        why = "The file's header cannot be written.";
        return nullptr;
    }
    // The header reaches the disk now, so that a take killed before its first block is still
    // a wave file.
    UpdateWaveSizes(file->m_writer);
    return file;
}

WaveRecordingFile::~WaveRecordingFile()
{
    // A file nobody finished still gets a valid header that counts frames.
    if (!m_finished)
        finish(static_cast<uint32_t>(m_writer.dataBytes()
                                     / std::max<uint16_t>(m_writer.format().blockAlign, 1)));
}

bool WaveRecordingFile::write(const std::byte *data, std::size_t size,
                              std::size_t &written) noexcept
{
    // Each block reaches the disk whole or not at all, so a failed one leaves no partial frame
    // behind and the next one can be tried.
    written = 0;
    if (WriteWaveBlock(m_writer, std::span<const std::byte>(data, size)) != 0) {
        m_systemError = m_writer.systemError();
        return false;
    }
    written = size;
    if (m_writer.dataBytes() >= m_nextUpdate) {
        // A header that cannot be patched now is tried again with the next block; the sound
        // itself is stored.
        if (UpdateWaveSizes(m_writer) == 0)
            m_nextUpdate = m_writer.dataBytes() + m_updateEvery;
    }
    return true;
}

bool WaveRecordingFile::finish(uint32_t frames) noexcept
{
    if (m_finished)
        return true;
    m_finished = true;
    if (FinishWaveFile(m_writer, frames) == 0)
        return true;
    if (m_systemError == 0)
        m_systemError = m_writer.systemError();
    return false;
}

} // namespace corvane::audio
