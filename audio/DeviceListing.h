#pragma once

#include "AudioBackend.h"

#include <ostream>

namespace corvane::audio {

// Writes PortAudio's host APIs and their devices (name, input and output channels, default
// rate), then the virtual devices, each with the configurations and whether it takes
// them for capture and for playback; says so plainly when there are none. Returns the process
// exit code: 0, or 1 when PortAudio could not start.
int listDevices(std::ostream &out, std::ostream &err);

// The part of the listing for one backend's devices, grouped by host API.
void writeDeviceTable(AudioBackend &backend, std::ostream &out);

} // namespace corvane::audio
