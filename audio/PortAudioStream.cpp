#include "PortAudioStream.h"

#include <portaudio.h>

namespace corvane::audio {

PortAudioStream::PortAudioStream(PaStream *stream, bool abortOnStop) noexcept
    : m_stream(stream)
    , m_abortOnStop(abortOnStop)
{
}

PortAudioStream::~PortAudioStream()
{
    stop();
    Pa_CloseStream(m_stream);
}

bool PortAudioStream::start(std::string &why)
{
    const PaError err = Pa_StartStream(m_stream);
    if (err != paNoError) {
        why = Pa_GetErrorText(err);
        return false;
    }
    m_started = true;
    return true;
}

void PortAudioStream::stop() noexcept
{
    if (!m_started)
        return;
    // Both calls return only after the last callback has finished.
    if (m_abortOnStop)
        Pa_AbortStream(m_stream);
    else
        Pa_StopStream(m_stream);
    m_started = false;
}

} // namespace corvane::audio
