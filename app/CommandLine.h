#pragma once

#include "AnalyzeOptions.h"
#include "ListenOptions.h"
#include "RecordOptions.h"

#include <optional>
#include <string>
#include <vector>

namespace corvane {

// The program's command line, read before any QApplication exists (QCommandLineParser needs
// none) so that the options that need no display work without one.
struct CommandLine
{
    enum class Action {
        RunWindow,
        ShowVersion,
        ShowHelp,
        ListDevices,
        Analyze,
        Tune,
        Record,
        Listen,
        Invalid
    };

    // The widths `--png` accepts (pixels).
    static constexpr int kMinPngWidth = 200;
    static constexpr int kMaxPngWidth = 20000;

    Action action = Action::RunWindow;
    std::string error;              // why the line is Invalid
    std::vector<std::string> files; // a wave file to open at start-up
    AnalyzeOptions analyze;         // for Action::Analyze
    std::string tuneFile;           // for Action::Tune: the wave file the tuner hears, looping
    // For Action::Tune: close the tuner after this many seconds of the file (for scripts and
    // tests); empty: it stays open until the user closes it.
    std::optional<double> tuneSeconds;
    RecordOptions record; // for Action::Record
    // Keep every file in the working folder (`--portable`), not the desktop's folders.
    bool portable = false;
    // Say on stderr where the files are (and, with --analyze, the latency and the settings).
    bool verbose = false;
    ListenOptions listen; // for Action::Listen

    // `args` without the program's name.
    static CommandLine parse(const std::vector<std::string> &args);
};

// Usage text for --help and for a bad command line.
std::string usageText();

// True when Qt can be expected to find a window system: an explicit platform was chosen, or an
// X11 or Wayland display is named in the environment.
bool displayAvailable();

} // namespace corvane
