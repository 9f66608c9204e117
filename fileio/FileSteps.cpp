#include "FileSteps.h"

#include <cstring>

namespace corvane {

std::string fileWriteError(const std::filesystem::path &path, int error)
{
    return "Cannot write \"" + path.string() + "\": " + std::strerror(error);
}

} // namespace corvane
