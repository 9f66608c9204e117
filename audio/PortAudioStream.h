#pragma once

#include "CaptureStream.h"
#include "PlaybackStream.h"

typedef void PaStream;

namespace corvane::audio {

// An open PortAudio stream, in either direction; closed by the destructor. Its callback was
// given at open (PortAudioBackend) and only copies between the device and our queue or buffer.
class PortAudioStream final : public CaptureStream, public PlaybackStream
{
public:
    // `abortOnStop`: drop what the device still holds instead of playing it out, so that stopping
    // playback returns at once.
    PortAudioStream(PaStream *stream, bool abortOnStop) noexcept;
    ~PortAudioStream() override;
    PortAudioStream(const PortAudioStream &) = delete;
    PortAudioStream &operator=(const PortAudioStream &) = delete;

    bool start(std::string &why) override;
    void stop() noexcept override;

private:
    PaStream *m_stream;
    bool m_abortOnStop;
    bool m_started = false;
};

} // namespace corvane::audio
