#pragma once

#include "FileSteps.h"

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace corvane {

// A file replaced whole or not at all. The new contents go to a temporary file beside the target
// (same folder, so same file system), which is flushed to the disk and then renamed over the
// target; until `commit` succeeds the old file is untouched, and a kill, a crash or a full disk at
// any point leaves either the old file or the new one, never a mix. A replacement destroyed
// without a successful commit removes its temporary file.
//
// Errors are values: every member returns false once a step has failed, and `error()` then holds
// one message naming the file and the cause. Later calls do nothing. One thread at a time;
// allocates (it is for the user-interface thread and the command line, not the audio threads).
class FileReplacement
{
public:
    explicit FileReplacement(std::filesystem::path target, FileFault fault = {});
    ~FileReplacement();
    FileReplacement(const FileReplacement &) = delete;
    FileReplacement &operator=(const FileReplacement &) = delete;

    // Appends bytes to the new contents.
    bool write(std::span<const std::byte> bytes);
    bool write(std::string_view text);
    // Makes the new contents the target's. The folder is synced too, so that the rename itself
    // survives a power cut.
    bool commit();

    bool ok() const noexcept { return m_error.empty(); }
    const std::string &error() const noexcept { return m_error; }
    const std::filesystem::path &target() const noexcept { return m_target; }

private:
    bool fail(int error);
    bool step(FileStep step);

    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    FileFault m_fault;
    int m_fd = -1;
    bool m_committed = false;
    std::string m_error;
};

// Replaces `target` with `contents` in one go; returns the error message, empty on success.
std::string replaceFile(const std::filesystem::path &target, std::string_view contents,
                        FileFault fault = {});

} // namespace corvane
