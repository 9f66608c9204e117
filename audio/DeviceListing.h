#pragma once

#include "AudioBackend.h"

#include <optional>
#include <ostream>
#include <vector>

namespace corvane::audio {

// Writes PortAudio's host APIs and their devices (name, input and output channels, default
// rate), then the virtual devices, each with the configurations and whether it takes
// them for capture and for playback; says so plainly when there are none. Returns the process
// exit code: 0, or 1 when PortAudio could not start.
int listDevices(std::ostream &out, std::ostream &err);

// The part of the listing for one backend's devices, grouped by host API.
void writeDeviceTable(AudioBackend &backend, std::ostream &out);

// A device remembered by name, found again among the devices `backends` list now that can
// capture (`capture`) or play: the same sound system and name first, else the same name in
// another sound system (the one it was chosen in may be gone, the card not). None when no device
// of that name is there. Asks each backend for its devices; UI thread, like the backends.
std::optional<DeviceId> findDeviceByName(const std::vector<AudioBackend *> &backends,
                                         const DeviceId &wanted, bool capture);

} // namespace corvane::audio
