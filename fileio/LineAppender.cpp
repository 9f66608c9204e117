#include "LineAppender.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

    struct Descriptor
    {
        int fd;
        ~Descriptor()
        {
            if (fd >= 0)
                ::close(fd);
        }
    };

    int faultAt(const FileFault &fault, FileStep step)
    {
        return fault ? fault(step) : 0;
    }

} // namespace

std::string appendWholeLine(const std::filesystem::path &path, std::string_view line,
                            FileFault fault)
{
    if (const int error = faultAt(fault, FileStep::Create))
        return fileWriteError(path, error);
    Descriptor file { ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666) };
    if (file.fd < 0)
        return fileWriteError(path, errno);

    std::string whole(line);
    whole += '\n';
    struct stat before
    {
    };
    const bool sized = ::fstat(file.fd, &before) == 0;
    int error = faultAt(fault, FileStep::Write);
    ssize_t written = -1;
    if (error == 0) {
        do
            written = ::write(file.fd, whole.data(), whole.size());
        while (written < 0 && errno == EINTR);
        if (written < 0)
            error = errno;
        else if (static_cast<std::size_t>(written) != whole.size())
            error = ENOSPC; // a short write on a regular file means the disk is full
    }
    if (error != 0) {
        // A part of a line would merge with the next run's line: take it back.
        if (written > 0 && sized && ::ftruncate(file.fd, before.st_size) != 0)
            error = errno;
        return fileWriteError(path, error);
    }
    if (const int syncError = faultAt(fault, FileStep::Sync))
        return fileWriteError(path, syncError);
    if (::fdatasync(file.fd) != 0)
        return fileWriteError(path, errno);
    return {};
}

} // namespace corvane
