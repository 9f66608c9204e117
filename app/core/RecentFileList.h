#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace corvane {

// The File menu's list of recently used files, most recent first, at most `capacity` entries,
// each file once. The program keeps four and stores them in its profile. Allocates.
class RecentFileList
{
public:
    explicit RecentFileList(std::size_t capacity = 4)
        : m_capacity(capacity)
    {
    }

    // Puts `path` first (moving it there when it is already listed) and drops the oldest entry
    // beyond the capacity. An empty path is ignored.
    void add(const std::string &path);
    void remove(const std::string &path);
    // Replaces the list, as read from the profile: empty and repeated entries are skipped.
    void assign(const std::vector<std::string> &paths);

    const std::vector<std::string> &entries() const noexcept { return m_entries; }
    std::size_t capacity() const noexcept { return m_capacity; }

private:
    std::size_t m_capacity;
    std::vector<std::string> m_entries;
};

} // namespace corvane
