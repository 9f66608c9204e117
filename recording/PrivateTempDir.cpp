#include "PrivateTempDir.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

    // "tonrik-" and the six characters mkdtemp put in.
    bool privateName(const std::string &name)
    {
        const std::string prefix = PrivateTempDir::kPrefix;
        return name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0;
    }

    // Opens the lock file of `dir` and locks it without waiting; -1 when it cannot be opened or
    // another process holds the lock.
    int lockFolder(const std::filesystem::path &dir, bool create) noexcept
    {
        const std::string lock = (dir / PrivateTempDir::kLockFile).string();
        const int fd =
                ::open(lock.c_str(),
                       O_RDWR | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT | O_EXCL : 0), 0600);
        if (fd < 0)
            return -1;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }

} // namespace

std::filesystem::path PrivateTempDir::systemBase()
{
    std::error_code error;
    const auto base = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : base;
}

std::filesystem::path PrivateTempDir::cacheBase()
{
    const char *cache = std::getenv("XDG_CACHE_HOME");
    const char *home = std::getenv("HOME");
    std::filesystem::path base;
    // A relative XDG path is to be ignored, as the base directory rules say.
    if (cache && *cache == '/')
        base = std::filesystem::path(cache) / "corvane";
    else if (home && *home == '/')
        base = std::filesystem::path(home) / ".cache" / "corvane";
    std::error_code error;
    if (base.empty() || (!std::filesystem::create_directories(base, error) && error)
        || !std::filesystem::is_directory(base, error))
        return systemBase();
    return base;
}

PrivateTempDir::PrivateTempDir()
    : PrivateTempDir(systemBase())
{
}

PrivateTempDir::PrivateTempDir(const std::filesystem::path &base)
{
    std::string pattern = (base / (std::string(kPrefix) + "XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        return;
    m_lock = lockFolder(pattern, true);
    if (m_lock < 0) {
        std::error_code ignored;
        std::filesystem::remove_all(pattern, ignored);
        return;
    }
    m_path = pattern;
}

PrivateTempDir::~PrivateTempDir()
{
    if (!m_path.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    // Released only once the folder is gone, so a sweeping run never sees it unlocked.
    if (m_lock >= 0)
        ::close(m_lock);
}

int PrivateTempDir::removeStale(const std::filesystem::path &base,
                                std::chrono::seconds age) noexcept
{
    int removed = 0;
    try {
        std::error_code error;
        const auto now = std::chrono::system_clock::now();
        for (const auto &entry : std::filesystem::directory_iterator(base, error)) {
            const std::filesystem::path dir = entry.path();
            if (!privateName(dir.filename().string()))
                continue;
            struct stat info = {};
            if (::lstat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)
                || info.st_uid != ::getuid())
                continue;
            const auto changed = std::chrono::system_clock::from_time_t(info.st_mtime);
            if (now - changed < age)
                continue;
            // A live run holds its lock for as long as its folder exists. A folder without a lock
            // file is one that a killed run had just made, or one from before the locks.
            const int lock = lockFolder(dir, false);
            std::error_code lockError;
            if (lock < 0 && std::filesystem::exists(dir / kLockFile, lockError))
                continue;
            std::error_code ignored;
            if (std::filesystem::remove_all(dir, ignored) > 0 && !ignored)
                ++removed;
            if (lock >= 0)
                ::close(lock);
        }
    } catch (...) {
        // A folder that cannot be listed (or memory that ran out) leaves the leftovers for the
        // next run; nothing the user asked for depends on it.
    }
    return removed;
}

} // namespace corvane
