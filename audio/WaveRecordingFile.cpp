#include "WaveRecordingFile.h"

#include "WaveFile.h"

#include <algorithm>

namespace corvane::audio {

std::unique_ptr<WaveRecordingFile> WaveRecordingFile::create(const std::filesystem::path &path,
                                                             const SampleFormat &format,
                                                             std::string &why)
{
    std::unique_ptr<WaveRecordingFile> file(new WaveRecordingFile);
    file->m_frameBytes = static_cast<uint32_t>(std::max(1, format.frameBytes()));
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
    // Each block reaches the disk whole or not at all, so a failed one leaves no partial frame
    // behind and the next one can be tried.
    written = 0;
    if (WriteWaveBlock(m_writer, std::span<const std::byte>(data, size)) != 0)
        return false;
    written = size;
    return true;
}

bool WaveRecordingFile::finish(uint32_t frames) noexcept
{
    if (m_finished)
        return true;
    m_finished = true;
    return FinishWaveFile(m_writer, frames) == 0;
}

} // namespace corvane::audio
