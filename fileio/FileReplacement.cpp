#include "FileReplacement.h"

#include <cerrno>
#include <fstream>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace corvane {

namespace {

    // Writes everything, going on after short writes and interruptions; returns 0 or errno.
    int writeAll(int fd, const std::byte *data, std::size_t size)
    {
        while (size > 0) {
            const ssize_t n = ::write(fd, data, size);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return 0;
    }

    void syncFolder(const std::filesystem::path &folder)
    {
        // Best effort: some file systems cannot sync a folder, and the file itself is already safe.
        const int fd =
                ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    }

    // The process's file-creation mask, read without setting it (umask() would change it for every
    // thread for a moment).
    mode_t currentUmask()
    {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("Umask:", 0) == 0)
                return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
        }
        return 022;
    }

} // namespace

FileReplacement::FileReplacement(std::filesystem::path target, FileFault fault)
    : m_target(std::move(target))
    , m_fault(std::move(fault))
{
    if (!step(FileStep::Create))
        return;
    std::string pattern = m_target.string() + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    m_fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (m_fd < 0) {
        fail(errno);
        return;
    }
    m_temporary = name.data();
    // mkstemp makes the file private; the new file keeps the old one's permissions, or gets those
    // of any new file.
    struct stat old
    {
    };
    const mode_t mode =
            ::stat(m_target.c_str(), &old) == 0 ? old.st_mode & 07777 : 0666 & ~currentUmask();
    if (::fchmod(m_fd, mode) != 0)
        fail(errno);
}

FileReplacement::~FileReplacement()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed && !m_temporary.empty())
        ::unlink(m_temporary.c_str());
}

bool FileReplacement::write(std::span<const std::byte> bytes)
{
    if (!step(FileStep::Write))
        return false;
    const int error = writeAll(m_fd, bytes.data(), bytes.size());
    return error == 0 || fail(error);
}

bool FileReplacement::write(std::string_view text)
{
    return write(std::as_bytes(std::span(text.data(), text.size())));
}

bool FileReplacement::commit()
{
    if (!step(FileStep::Sync))
        return false;
    if (::fsync(m_fd) != 0)
        return fail(errno);
    if (!step(FileStep::Close))
        return false;
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0)
        return fail(errno);
    if (!step(FileStep::Rename))
        return false;
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        return fail(errno);
    m_committed = true;
    syncFolder(m_target.parent_path());
    return true;
}

bool FileReplacement::step(FileStep which)
{
    if (!ok())
        return false;
    if (m_fault) {
        if (const int error = m_fault(which))
            return fail(error);
    }
    return true;
}

bool FileReplacement::fail(int error)
{
    if (ok())
        m_error = fileWriteError(m_target, error);
    return false;
}

std::string replaceFile(const std::filesystem::path &target, std::string_view contents,
                        FileFault fault)
{
    FileReplacement file(target, std::move(fault));
    file.write(contents);
    file.commit();
    return file.error();
}

} // namespace corvane
