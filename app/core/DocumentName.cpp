#include "DocumentName.h"

namespace corvane {

std::string DocumentName::title() const
{
    if (path.empty())
        return "Untitled";
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool SaveDocumentAs(DocumentName &name, RecentFileList &recent, const std::string &path,
                    const std::function<bool(const std::string &path)> &save)
{
    if (path.empty() || !save || !save(path))
        return false;
    name.path = path;
    recent.add(path);
    return true;
}

} // namespace corvane
