#pragma once

#include <iosfwd>
#include <string>

namespace corvane {

// `tonrik --tune FILE.wav`: the tuner window, hearing the wave file through the virtual capture
// device in real time and over again, and playing its drones into the virtual playback device.
// Anyone can try the tuner this way without a sound card. Needs the QApplication; returns the
// program's exit status (1 when the file cannot be used, with the reason on `err`).
int runTuneCommand(const std::string &file, std::ostream &err);

} // namespace corvane
