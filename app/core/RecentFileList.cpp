#include "RecentFileList.h"

#include <algorithm>

namespace corvane {

void RecentFileList::add(const std::string &path)
{
    if (path.empty() || m_capacity == 0)
        return;
    remove(path);
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > m_capacity)
        m_entries.resize(m_capacity);
}

void RecentFileList::remove(const std::string &path)
{
    m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), path), m_entries.end());
}

void RecentFileList::assign(const std::vector<std::string> &paths)
{
    m_entries.clear();
    for (const std::string &path : paths) {
        if (path.empty() || std::find(m_entries.begin(), m_entries.end(), path) != m_entries.end())
            continue;
        if (m_entries.size() == m_capacity)
            break;
        m_entries.push_back(path);
    }
}

} // namespace corvane
