#pragma once

#include "CaptureStream.h"
#include "DeviceId.h"
#include "PlaybackStream.h"
#include "SampleFormat.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corvane::audio {

class CaptureQueue;
class PlaybackBuffer;

// A device as a backend lists it.
struct DeviceInfo
{
    DeviceId id;
    int maxInputChannels = 0;
    int maxOutputChannels = 0;
    double defaultSampleRate = 0.0;
};

// Why a device could not be opened: the step that failed, and the backend's own words.
struct OpenError
{
    enum class Step {
        Device, // the device is not there or the sound system would not start
        Stream, // the device refused the format or the stream
    };
    Step step = Step::Device;
    std::string reason;
};

// A sound system the devices come from. All calls on the user-interface thread.
class AudioBackend
{
public:
    virtual ~AudioBackend() = default;

    virtual std::vector<DeviceInfo> devices() = 0;

    // Which of the configurations (kDeviceConfigurations) the device takes for capture / playback,
    // as a set of their flags (0 when the device cannot be asked).
    virtual uint32_t captureConfigurations(const DeviceChoice &device) = 0;
    virtual uint32_t playbackConfigurations(const DeviceChoice &device) = 0;

    // Opens a device for `format`. A capture device delivers into `queue` (prepared for the same
    // format) in pieces of about `framesPerBlock`; a playback device plays `buffer`. Null, with
    // `error` filled, on failure.
    virtual std::unique_ptr<CaptureStream> openCapture(const DeviceChoice &device,
                                                       const SampleFormat &format,
                                                       int32_t framesPerBlock, CaptureQueue &queue,
                                                       OpenError &error) = 0;
    virtual std::unique_ptr<PlaybackStream> openPlayback(const DeviceChoice &device,
                                                         const SampleFormat &format,
                                                         PlaybackBuffer &buffer,
                                                         OpenError &error) = 0;
};

} // namespace corvane::audio
