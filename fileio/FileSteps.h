#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace corvane {

// The steps of writing a file that can fail on a real disk. Tests name one to make it fail.
enum class FileStep {
    Create, // the temporary file (or the file appended to) is opened
    Write,  // bytes are written
    Sync,   // the bytes are flushed to the disk
    Close,  // the file is closed (some file systems report a full disk only here)
    Rename, // the complete temporary file takes the target's name
};

// Asked before each step: returns 0 to let it run, or the errno value it fails with. An empty
// function lets every step run. Tests use it to fail a save at every point.
using FileFault = std::function<int(FileStep)>;

// "Cannot write "/path/name": No space left on device", the one message a failed write gives.
std::string fileWriteError(const std::filesystem::path &path, int error);

} // namespace corvane
