#pragma once

#include "FileSteps.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace corvane {

// Appends one line (a newline is added) to a log file with a single write in append mode, so that
// two copies of the program appending at once never interleave and a kill leaves either the whole
// line or none of it. Should the disk take only part of the line, the file is cut back to where
// it was. Creates the file when it does not exist. Returns the error message, empty on success.
std::string appendWholeLine(const std::filesystem::path &path, std::string_view line,
                            FileFault fault = {});

} // namespace corvane
