#pragma once

#include "AudioBackend.h"
#include "PortAudioSession.h"

#include <memory>

namespace corvane::audio {

// The sound card through PortAudio (ALSA, JACK, and PulseAudio or PipeWire through ALSA's
// plugins). A device is named by its host API and its name; no device means PortAudio's default
// one. PortAudio starts on first use and stays up for the life of the backend.
class PortAudioBackend final : public AudioBackend
{
public:
    PortAudioBackend() = default;
    ~PortAudioBackend() override;

    std::vector<DeviceInfo> devices() override;
    uint32_t captureConfigurations(const DeviceChoice &device) override;
    uint32_t playbackConfigurations(const DeviceChoice &device) override;
    std::unique_ptr<CaptureStream> openCapture(const DeviceChoice &device,
                                               const SampleFormat &format, int32_t framesPerBlock,
                                               CaptureQueue &queue, OpenError &error) override;
    std::unique_ptr<PlaybackStream> openPlayback(const DeviceChoice &device,
                                                 const SampleFormat &format, PlaybackBuffer &buffer,
                                                 OpenError &error) override;

private:
    bool ensureSession(std::string &why);
    uint32_t configurations(const DeviceChoice &device, bool input);

    std::unique_ptr<PortAudioSession> m_session;
};

} // namespace corvane::audio
