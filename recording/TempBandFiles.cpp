#include "TempBandFiles.h"

#include <cerrno>

namespace corvane {

namespace {
    constexpr const char *kNames[TempBandFiles::kFileCount] = {
        "tnrk0000.tmp", "tnrk0001.tmp", "tnrk0002.tmp", "tnrk0003.tmp", "tnrk0004.tmp",
        "tnrk0005.tmp", "tnrk0006.tmp", "tnrk0007.tmp", "tnrk0008.tmp",
    };
} // namespace

const char *TempBandFiles::fileName(int index) noexcept
{
    return index >= 0 && index < kFileCount ? kNames[index] : "";
}

std::filesystem::path TempBandFiles::filePath(const std::filesystem::path &dir, int index)
{
    return dir / fileName(index);
}

bool TempBandFiles::openForWriting(const std::filesystem::path &dir)
{
    close();
    m_failedName.clear();
    m_writeFailed = false;
    m_error = 0;
    for (int i = 0; i < kFileCount; ++i) {
        const std::filesystem::path path = filePath(dir, i);
        m_files[i].reset(std::fopen(path.c_str(), "w+b"));
        if (!m_files[i]) {
            m_failedName = path.string();
            m_error = errno;
            close();
            return false;
        }
    }
    return true;
}

void TempBandFiles::write(int index, const float *data, std::size_t count) noexcept
{
    if (index < 0 || index >= kFileCount || !m_files[index] || count == 0)
        return;
    if (std::fwrite(data, sizeof(float), count, m_files[index].get()) != count) {
        if (!m_writeFailed)
            m_error = errno;
        m_writeFailed = true;
    }
}

bool TempBandFiles::close() noexcept
{
    bool ok = true;
    for (auto &file : m_files) {
        if (file && std::fclose(file.release()) != 0) {
            if (ok && !m_writeFailed)
                m_error = errno;
            ok = false;
        }
    }
    if (!ok)
        m_writeFailed = true;
    return ok;
}

} // namespace corvane
