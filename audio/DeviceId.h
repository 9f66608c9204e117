#pragma once

#include <optional>
#include <string>

namespace corvane::audio {

// A device as the user picks it: the sound system it belongs to (PortAudio's host API name, or
// "Virtual") and its name there. No DeviceId at all (an empty optional) means the system's
// default device.
struct DeviceId
{
    std::string hostApi;
    std::string name;

    friend bool operator==(const DeviceId &, const DeviceId &) = default;
};

using DeviceChoice = std::optional<DeviceId>;

} // namespace corvane::audio
