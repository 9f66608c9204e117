#include "SoundDeviceMemory.h"

#include "AudioFacade.h"
#include "DeviceListing.h"

#include <utility>

namespace corvane {

namespace {

    audio::DeviceChoice choiceOf(const std::optional<StoredDevice> &stored)
    {
        if (!stored)
            return std::nullopt;
        return audio::DeviceId { stored->hostApi, stored->name };
    }

    std::optional<StoredDevice> storedOf(const audio::DeviceChoice &choice)
    {
        if (!choice)
            return std::nullopt;
        return StoredDevice { choice->hostApi, choice->name };
    }

    // The device found for `stored`, or none; `missing` collects the line for one not found.
    audio::DeviceChoice lookUp(const std::vector<audio::AudioBackend *> &backends,
                               const std::optional<StoredDevice> &stored, bool capture,
                               std::string &missing)
    {
        if (!stored)
            return std::nullopt;
        if (auto found = audio::findDeviceByName(backends, *choiceOf(stored), capture))
            return found;
        missing += std::string(missing.empty() ? "" : "\n") + "The "
                + (capture ? "capture" : "playback") + " device \""
                + SoundDeviceMemory::deviceText(*stored)
                + "\" chosen in the sound card settings is not connected.";
        return std::nullopt;
    }

} // namespace

SoundDeviceMemory::SoundDeviceMemory(std::filesystem::path file)
    : m_file(std::move(file))
    , m_stored(DevicePreferences::load(m_file))
{
}

std::string SoundDeviceMemory::deviceText(const StoredDevice &device)
{
    return device.hostApi.empty() ? device.name : device.name + " (" + device.hostApi + ")";
}

std::string SoundDeviceMemory::restore(const std::vector<audio::AudioBackend *> &backends)
{
    std::string missing;
    m_startCapture = lookUp(backends, m_stored.capture, true, missing);
    m_startPlayback = lookUp(backends, m_stored.playback, false, missing);
    audio::setCaptureDevice(m_startCapture);
    audio::setPlaybackDevice(m_startPlayback);
    if (!missing.empty())
        missing += "\nThe system's default device is used instead; choose another one with "
                   "Settings > Configure Sound Card.";
    return missing;
}

std::string SoundDeviceMemory::keep() const
{
    const audio::DeviceChoice capture = audio::captureDevice();
    const audio::DeviceChoice playback = audio::playbackDevice();
    if (capture == m_startCapture && playback == m_startPlayback)
        return {};
    DevicePreferences chosen = m_stored;
    if (capture != m_startCapture)
        chosen.capture = storedOf(capture);
    if (playback != m_startPlayback)
        chosen.playback = storedOf(playback);
    return chosen.save(m_file);
}

} // namespace corvane
