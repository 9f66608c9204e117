#include "CommandLine.h"

#include <cstdlib>

namespace corvane {

CommandLine CommandLine::parse(const std::vector<std::string> &args)
{
    CommandLine line;
    for (const std::string &arg : args) {
        if (arg == "--version" || arg == "-v") {
            line.action = Action::ShowVersion;
        } else if (arg == "--help" || arg == "-h") {
            line.action = Action::ShowHelp;
        } else if (arg == "--list-devices") {
            line.action = Action::ListDevices;
        } else if (arg.size() > 1 && arg[0] == '-') {
            line.action = Action::Invalid;
            line.error = "unknown option " + arg;
            return line;
        } else {
            line.files.push_back(arg);
        }
    }
    return line;
}

std::string usageText()
{
    return "Usage: tonrik [FILE.wav]\n"
           "       tonrik --list-devices\n"
           "       tonrik --version\n"
           "\n"
           "  FILE.wav        open a recording for analysis at start-up\n"
           "  --list-devices  list the sound systems and devices, then exit\n"
           "  --version       print the program's name and version, then exit\n"
           "  --help          print this text, then exit\n";
}

static bool envSet(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

bool displayAvailable()
{
    return envSet("QT_QPA_PLATFORM") || envSet("DISPLAY") || envSet("WAYLAND_DISPLAY");
}

} // namespace corvane
