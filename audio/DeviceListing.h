#pragma once

#include <ostream>

namespace corvane::audio {

// Writes PortAudio's host APIs and their devices (name, input and output channels, default
// rate) to `out`, and says so plainly when there are none. Returns the process exit code:
// 0, or 1 when PortAudio could not start.
int listDevices(std::ostream &out, std::ostream &err);

} // namespace corvane::audio
