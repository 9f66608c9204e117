#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace corvane {

class ProgramState;
struct PracticeClocks;

// `tonrik --tune FILE.wav`: the tuner window, hearing the wave file through the virtual capture
// device in real time and over again, and playing its drones into the virtual playback device.
// Anyone can try the tuner this way without a sound card. The window works on `program` and
// `clocks` (the capture format becomes the file's own) and opens the program's configuration
// dialogs. Needs the QApplication.
//
// With `seconds` the window closes by itself after that long, and every reading it shows that
// differs from the one before goes to `out` as a line ("A4   440.0 Hz   0.0 cents"), for scripts.
// SIGINT, SIGTERM and SIGHUP close the window cleanly. Returns the program's exit status: 0, 1
// when the file cannot be used (with the reason on `err`), 128 + the signal's number when a
// signal closed the window.
int runTuneCommand(ProgramState &program, PracticeClocks &clocks, const std::string &file,
                   std::optional<double> seconds, std::ostream &out, std::ostream &err);

} // namespace corvane
