#include "PortAudioSession.h"

#include "QuietStderr.h"

#include <portaudio.h>

namespace corvane::audio {

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
