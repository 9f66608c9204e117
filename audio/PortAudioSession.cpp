#include "PortAudioSession.h"

#include <portaudio.h>

#include <fcntl.h>
#include <unistd.h>

namespace corvane::audio {

namespace {

// While probing, ALSA and JACK write dozens of lines about every device they cannot open (on a
// machine without a sound card, all of them) straight to file descriptor 2. The program reports
// what it found itself, so the probe runs with descriptor 2 pointed at /dev/null.
class QuietStderr
{
public:
    QuietStderr()
    {
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null < 0)
            return;
        m_saved = ::dup(2);
        if (m_saved >= 0)
            ::dup2(null, 2);
        ::close(null);
    }
    ~QuietStderr()
    {
        if (m_saved >= 0) {
            ::dup2(m_saved, 2);
            ::close(m_saved);
        }
    }
    QuietStderr(const QuietStderr &) = delete;
    QuietStderr &operator=(const QuietStderr &) = delete;

private:
    int m_saved = -1;
};

} // namespace

PortAudioSession::PortAudioSession()
{
    const PaError err = [] {
        QuietStderr quiet;
        return Pa_Initialize();
    }();
    m_ok = err == paNoError;
    if (!m_ok)
        m_error = Pa_GetErrorText(err);
}

PortAudioSession::~PortAudioSession()
{
    if (m_ok)
        Pa_Terminate();
}

} // namespace corvane::audio
