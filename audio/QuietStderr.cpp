#include "QuietStderr.h"

#include <fcntl.h>
#include <unistd.h>

namespace corvane::audio {

QuietStderr::QuietStderr()
{
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null < 0)
        return;
    m_saved = ::dup(2);
    if (m_saved >= 0)
        ::dup2(null, 2);
    ::close(null);
}

QuietStderr::~QuietStderr()
{
    if (m_saved >= 0) {
        ::dup2(m_saved, 2);
        ::close(m_saved);
    }
}

} // namespace corvane::audio
