#include "AudioFacade.h"

namespace corvane::audio {

void setCaptureFormat(const PcmFormat &format)
{
    AudioDevices::instance().setCaptureFormat(format.samples(), format.blockLength);
}

void setPlaybackFormat(const PcmFormat &format)
{
    AudioDevices::instance().setPlaybackFormat(format.samples(), format.blockLength);
}

void setCaptureDevice(DeviceChoice device)
{
    AudioDevices::instance().setCaptureDevice(std::move(device));
}

DeviceChoice captureDevice()
{
    return AudioDevices::instance().captureDevice();
}

void setPlaybackDevice(DeviceChoice device)
{
    AudioDevices::instance().setPlaybackDevice(std::move(device));
}

DeviceChoice playbackDevice()
{
    return AudioDevices::instance().playbackDevice();
}

bool open(BlockSink &capture, BlockSource *playback, float playbackLevel)
{
    if (!openPlayback(0, playback, playbackLevel))
        return false;
    return AudioDevices::instance().openCapture(capture);
}

bool openPlayback(int32_t halfBytes, BlockSource *source, float level)
{
    return AudioDevices::instance().openPlayback(halfBytes, source, level);
}

bool start(bool recording, std::string *whyNot)
{
    AudioDevices &devices = AudioDevices::instance();
    if (!devices.startCapture(recording, whyNot))
        return false;
    devices.startPlayback();
    return true;
}

bool startPlayback()
{
    return AudioDevices::instance().startPlayback();
}

void stop()
{
    AudioDevices::instance().stopCapture();
    AudioDevices::instance().stopPlayback();
}

void stopPlayback()
{
    AudioDevices::instance().stopPlayback();
}

bool pauseRecording(bool paused)
{
    return AudioDevices::instance().pauseRecording(paused);
}

void setRecordingPath(const std::string &path)
{
    AudioDevices::instance().setRecordingPath(path);
}

std::string lastTakePath()
{
    const std::string &take = AudioDevices::instance().takePath();
    return take.empty() ? std::string(AudioDevices::kRecordingFileName) : take;
}

void setVolume(float level)
{
    AudioDevices::instance().setVolume(level);
}

BlockRing &captureRing()
{
    return AudioDevices::instance().captureRing();
}

BlockRing &playbackRing()
{
    return AudioDevices::instance().playbackRing();
}

uint64_t captureOverruns()
{
    return AudioDevices::instance().captureOverruns();
}

AudioDevices::ErrorHandler deviceErrorHandler()
{
    return AudioDevices::instance().errorHandler();
}

bool recordingFailed()
{
    return AudioDevices::instance().recordingFailed();
}

void setDeviceErrorHandler(AudioDevices::ErrorHandler handler)
{
    AudioDevices::instance().setErrorHandler(std::move(handler));
}

} // namespace corvane::audio
