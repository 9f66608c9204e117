#include "AudioFacade.h"

#include "AudioNotifier.h"

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

bool open(cNotification *captureNotification, cNotification *playbackNotification)
{
    AudioNotifier::instance().setCaptureNotification(captureNotification);
    AudioNotifier::instance().setPlaybackNotification(playbackNotification);
    if (!openPlayback(0, playbackNotification))
        return false;
    return AudioDevices::instance().openCapture();
}

bool openPlayback(int32_t halfBytes, cNotification *playbackNotification)
{
    AudioNotifier::instance().setPlaybackNotification(playbackNotification);
    return AudioDevices::instance().openPlayback(halfBytes);
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

void setVolume(float level)
{
    AudioDevices::instance().setVolume(level);
}

void notifyCapture()
{
    if (cNotification *n = AudioNotifier::instance().captureNotification())
        n->notify();
}

void notifyPlayback()
{
    if (cNotification *n = AudioNotifier::instance().playbackNotification())
        n->notify();
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

void setDeviceErrorHandler(AudioDevices::ErrorHandler handler)
{
    AudioDevices::instance().setErrorHandler(std::move(handler));
}

} // namespace corvane::audio
