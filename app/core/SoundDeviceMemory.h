#pragma once

#include "DeviceId.h"
#include "DevicePreferences.h"

#include <filesystem>
#include <string>
#include <vector>

namespace corvane::audio {
class AudioBackend;
}

namespace corvane {

// The capture and playback devices chosen in the sound card dialog, kept between runs by name in
// "tonrik.prefs" (DevicePreferences). At start the stored names are looked up among the devices
// there are now and handed to the audio layer; a device that is not there leaves the system's
// default in its place, said in one message, and stays remembered for a later run in which it
// is plugged in again. At exit the devices the audio layer has then are stored, but only when the
// user chose others during the run.
//
// UI thread only, like the audio facade it talks to.
class SoundDeviceMemory
{
public:
    explicit SoundDeviceMemory(std::filesystem::path file = PreferencesFile::kFileName);

    // Whether the file names a device at all (the caller need not start a sound system if not).
    bool remembersDevices() const noexcept { return m_stored.capture || m_stored.playback; }

    // Looks the remembered devices up among what `backends` list and hands those found to the
    // audio layer (audio::setCaptureDevice, setPlaybackDevice). Returns the one message about
    // the devices not found, empty when there is nothing to say.
    std::string restore(const std::vector<audio::AudioBackend *> &backends);

    // Stores the audio layer's devices when they differ from those of the start; returns the
    // message naming the file and the cause when it could not be written, else empty.
    std::string keep() const;

    // "USB Audio (ALSA)", as the sound card dialog lists a device.
    static std::string deviceText(const StoredDevice &device);

private:
    std::filesystem::path m_file;
    DevicePreferences m_stored;
    audio::DeviceChoice m_startCapture;
    audio::DeviceChoice m_startPlayback;
};

} // namespace corvane
