#pragma once

#include "AnalyzeOptions.h"

#include <string>
#include <vector>

namespace corvane {

// The program's command line, read before Qt starts so that the options that need no display
// work without one.
struct CommandLine
{
    enum class Action { RunWindow, ShowVersion, ShowHelp, ListDevices, Analyze, Tune, Invalid };

    Action action = Action::RunWindow;
    std::string error;              // why the line is Invalid
    std::vector<std::string> files; // a wave file to open at start-up
    AnalyzeOptions analyze;         // for Action::Analyze
    std::string tuneFile;           // for Action::Tune: the wave file the tuner hears, looping

    static CommandLine parse(const std::vector<std::string> &args);
};

// Usage text for --help and for a bad command line.
std::string usageText();

// True when Qt can be expected to find a window system: an explicit platform was chosen, or an
// X11 or Wayland display is named in the environment.
bool displayAvailable();

} // namespace corvane
