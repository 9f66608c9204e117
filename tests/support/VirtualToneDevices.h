#pragma once

// The program's virtual devices chosen for a test: capture hears a steady tone, playback keeps
// what it is given in memory. The tone, the pacing and what was played go back to their defaults
// when the object goes, also when a test stops early at a failed assertion.

#include "AudioFacade.h"
#include "VirtualBackend.h"

namespace corvane::test {

class VirtualToneDevices
{
public:
    explicit VirtualToneDevices(double toneHz = 440.0,
                                audio::VirtualPacing pacing = audio::VirtualPacing::AsFastAsTaken)
    {
        audio::VirtualBackend &devices = audio::VirtualBackend::instance();
        devices.setPacing(pacing);
        audio::VirtualCaptureSource source;
        source.toneHz = toneHz;
        source.toneLevel = 0.5;
        devices.setCaptureSource(source);
        devices.keepPlayed(true);
        audio::setCaptureDevice(audio::VirtualBackend::captureDeviceId());
        audio::setPlaybackDevice(audio::VirtualBackend::playbackDeviceId());
    }
    ~VirtualToneDevices()
    {
        audio::VirtualBackend &devices = audio::VirtualBackend::instance();
        devices.setCaptureSource({});
        devices.setPacing(audio::VirtualPacing::RealTime);
        devices.keepPlayed(false);
    }
    VirtualToneDevices(const VirtualToneDevices &) = delete;
    VirtualToneDevices &operator=(const VirtualToneDevices &) = delete;
};

} // namespace corvane::test
