#pragma once

#include "FileSteps.h"
#include "PreferencesFile.h"

#include <filesystem>
#include <optional>
#include <string>

namespace corvane {

// A sound device as it is remembered between runs: the sound system it belongs to and its name
// there, as the sound card dialog lists them. Names, not list positions: the positions change
// whenever a device is plugged in or out.
struct StoredDevice
{
    std::string hostApi;
    std::string name;

    friend bool operator==(const StoredDevice &, const StoredDevice &) = default;
};

// The capture and playback devices the user chose in the sound card dialog, kept in
// "tonrik.prefs" (capture_device_api / capture_device_name and the playback pair), since the
// defaults file keeps only the formats and its layout does not change. No device means the
// system's default one.
//
// Plain values; load and save do their own file I/O on the calling thread.
struct DevicePreferences
{
    std::optional<StoredDevice> capture;
    std::optional<StoredDevice> playback;

    // A missing file, or a device of which the file holds no name, gives the default device.
    static DevicePreferences load(const std::filesystem::path &path = PreferencesFile::kFileName);
    // Replaces the file whole, keeping the lines of other keys; the error message naming the file
    // and the cause, empty on success (the old file is then untouched).
    std::string save(const std::filesystem::path &path = PreferencesFile::kFileName,
                     const FileFault &fault = {}) const;

    friend bool operator==(const DevicePreferences &, const DevicePreferences &) = default;
};

} // namespace corvane
