#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace corvane {

// The nine temporary files of an analysis, "tnrk0000.tmp" to "tnrk0008.tmp": files 0..7 take the
// eight octave-band signals of the analyzer (band 0 the highest), file 8 the input signal as
// floats. Raw 32-bit floats, block after block in time order, no header. Each analysis truncates
// them; the folder they are in is the analysis's own (PrivateTempDir), which goes with it.
//
// The writers belong to the thread that runs the analysis.
class TempBandFiles
{
public:
    static constexpr int kFileCount = 9;
    static constexpr int kBandCount = 8;
    static constexpr int kSignalFile = 8;

    TempBandFiles() = default;
    ~TempBandFiles() = default;
    TempBandFiles(const TempBandFiles &) = delete;
    TempBandFiles &operator=(const TempBandFiles &) = delete;

    // "tnrk0000.tmp" ... "tnrk0008.tmp" for index 0..8.
    static const char *fileName(int index) noexcept;
    static std::filesystem::path filePath(const std::filesystem::path &dir, int index);

    // Creates or truncates all nine files in `dir` for reading and writing. When one of them
    // cannot be opened, closes those already open and returns false; failedName() then names
    // the file that could not be opened. Allocates the write buffers.
    bool openForWriting(const std::filesystem::path &dir);
    bool isOpen() const noexcept { return m_files[0] != nullptr; }
    const std::string &failedName() const noexcept { return m_failedName; }

    // Appends `count` floats to file `index`. After a failed write the files are still written
    // to, but writeFailed() stays true until the next open.
    void write(int index, const float *data, std::size_t count) noexcept;
    bool writeFailed() const noexcept { return m_writeFailed; }
    // The errno of the first failed open or write since the last open (0 when none or unknown).
    int error() const noexcept { return m_error; }

    // Flushes and closes every file; returns false when a flush or close failed.
    bool close() noexcept;

private:
    struct FileCloser
    {
        void operator()(std::FILE *file) const noexcept { std::fclose(file); }
    };

    std::array<std::unique_ptr<std::FILE, FileCloser>, kFileCount> m_files;
    std::string m_failedName;
    bool m_writeFailed = false;
    int m_error = 0;
};

} // namespace corvane
