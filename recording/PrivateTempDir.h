#pragma once

#include <chrono>
#include <filesystem>

namespace corvane {

// A private folder "tonrik-XXXXXX" for one analysis's band files (the command line's in the
// system's temporary folder, the window's documents' in the cache folder), removed with its
// contents when the object goes. While it lives it holds an exclusive lock on
// the folder's lock file ".lock", which tells a later run that the folder is in use; a run that
// was killed leaves the folder behind, unlocked, for removeStale to take away.
class PrivateTempDir
{
public:
    static constexpr const char *kPrefix = "tonrik-";
    static constexpr const char *kLockFile = ".lock";
    // Leftovers younger than this are left alone, whatever their lock says.
    static constexpr std::chrono::hours kStaleAfter { 24 };

    // Creates the folder in `base` (default: TMPDIR, else /tmp); valid() says whether it could.
    PrivateTempDir();
    explicit PrivateTempDir(const std::filesystem::path &base);
    ~PrivateTempDir();
    PrivateTempDir(const PrivateTempDir &) = delete;
    PrivateTempDir &operator=(const PrivateTempDir &) = delete;

    bool valid() const noexcept { return !m_path.empty(); }
    const std::filesystem::path &path() const noexcept { return m_path; }

    // The system's temporary folder: TMPDIR, else /tmp.
    static std::filesystem::path systemBase();
    // The program's cache folder, made when missing: $XDG_CACHE_HOME/corvane, else
    // ~/.cache/corvane; the system's temporary folder when neither can be made.
    static std::filesystem::path cacheBase();

    // Removes every folder "tonrik-XXXXXX" in `base` that belongs to this user, was last changed
    // more than `age` ago and whose lock no live process holds; symbolic links and other
    // people's folders are never touched. Returns how many were removed. Never throws.
    static int removeStale(const std::filesystem::path &base,
                           std::chrono::seconds age = kStaleAfter) noexcept;

private:
    std::filesystem::path m_path;
    int m_lock = -1; // the lock file's descriptor, locked while this object lives
};

} // namespace corvane
