#include "RecordingFileState.h"

#include <utility>

namespace corvane {

void RecordingFileState::emptied() noexcept
{
    m_origin = Origin::Empty;
    m_path.clear();
}

void RecordingFileState::opened(std::filesystem::path path)
{
    m_origin = Origin::File;
    m_path = std::move(path);
}

void RecordingFileState::captured() noexcept
{
    m_origin = Origin::Capture;
    m_path.clear();
}

void RecordingFileState::saved(std::filesystem::path path)
{
    opened(std::move(path));
}

std::filesystem::path RecordingFileState::withSuffix(std::filesystem::path name, const char *suffix)
{
    if (!name.empty() && !name.has_extension())
        name += suffix;
    return name;
}

} // namespace corvane
