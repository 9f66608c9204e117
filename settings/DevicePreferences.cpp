#include "DevicePreferences.h"

namespace corvane {

namespace {

    struct Keys
    {
        const char *hostApi;
        const char *name;
    };
    constexpr Keys kCaptureKeys { "capture_device_api", "capture_device_name" };
    constexpr Keys kPlaybackKeys { "playback_device_api", "playback_device_name" };

    std::optional<StoredDevice> read(const PreferencesFile &file, const Keys &keys)
    {
        auto name = file.get(keys.name);
        if (!name || name->empty())
            return std::nullopt;
        return StoredDevice { file.get(keys.hostApi).value_or(std::string()), std::move(*name) };
    }

    void write(PreferencesFile &file, const Keys &keys, const std::optional<StoredDevice> &device)
    {
        file.set(keys.hostApi, device ? std::optional(device->hostApi) : std::nullopt);
        file.set(keys.name, device ? std::optional(device->name) : std::nullopt);
    }

} // namespace

DevicePreferences DevicePreferences::load(const std::filesystem::path &path)
{
    const PreferencesFile file = PreferencesFile::load(path);
    return { read(file, kCaptureKeys), read(file, kPlaybackKeys) };
}

std::string DevicePreferences::save(const std::filesystem::path &path, const FileFault &fault) const
{
    PreferencesFile file = PreferencesFile::load(path);
    write(file, kCaptureKeys, capture);
    write(file, kPlaybackKeys, playback);
    return file.save(path, fault);
}

} // namespace corvane
