#include "CommandLine.h"

#include <cmath>
#include <cstdlib>
#include <optional>

namespace corvane {

namespace {

    // "--name value" or "--name=value": the value, consuming the next argument in the first form.
    std::optional<std::string> optionValue(const std::vector<std::string> &args, std::size_t &i,
                                           const std::string &name)
    {
        const std::string &arg = args[i];
        if (arg == name) {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        }
        return arg.substr(name.size() + 1);
    }

    bool matches(const std::string &arg, const std::string &name)
    {
        return arg == name || arg.rfind(name + "=", 0) == 0;
    }

    std::optional<double> parseNumber(const std::string &text)
    {
        if (text.empty())
            return std::nullopt;
        char *end = nullptr;
        const double value = std::strtod(text.c_str(), &end);
        if (*end != '\0' || !std::isfinite(value))
            return std::nullopt;
        return value;
    }

    std::optional<int> parseCode(const std::string &text)
    {
        if (text.size() != 1 || text[0] < '1' || text[0] > '3')
            return std::nullopt;
        return text[0] - '0';
    }

} // namespace

CommandLine CommandLine::parse(const std::vector<std::string> &args)
{
    CommandLine line;
    bool analyze = false;
    bool analyzeOnly = false; // an option that makes sense only with --analyze
    auto refuse = [&line](const std::string &why) {
        line.action = Action::Invalid;
        line.error = why;
        return line;
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "--version" || arg == "-v") {
            line.action = Action::ShowVersion;
        } else if (arg == "--help" || arg == "-h") {
            line.action = Action::ShowHelp;
        } else if (arg == "--list-devices") {
            line.action = Action::ListDevices;
        } else if (matches(arg, "--analyze")) {
            const auto file = optionValue(args, i, "--analyze");
            if (!file || file->empty())
                return refuse("--analyze needs a wave file");
            line.analyze.file = *file;
            analyze = true;
        } else if (matches(arg, "--tune")) {
            const auto file = optionValue(args, i, "--tune");
            if (!file || file->empty())
                return refuse("--tune needs a wave file");
            line.tuneFile = *file;
        } else if (arg == "--notes") {
            line.analyze.notes = analyzeOnly = true;
        } else if (arg == "--json") {
            line.analyze.json = analyzeOnly = true;
        } else if (arg == "--classic") {
            line.analyze.classic = analyzeOnly = true;
        } else if (matches(arg, "--filter-length") || matches(arg, "--sensitivity")) {
            const std::string name = arg.substr(0, arg.find('='));
            const auto value = optionValue(args, i, name);
            const auto code = value ? parseCode(*value) : std::nullopt;
            if (!code)
                return refuse(name + " takes 1, 2 or 3");
            (name == "--filter-length" ? line.analyze.filterLength : line.analyze.sensitivity) =
                    code;
            analyzeOnly = true;
        } else if (matches(arg, "--lowest") || matches(arg, "--highest")
                   || matches(arg, "--reference")) {
            const std::string name = arg.substr(0, arg.find('='));
            const auto value = optionValue(args, i, name);
            const auto hz = value ? parseNumber(*value) : std::nullopt;
            if (!hz || *hz <= 0.0)
                return refuse(name + " takes a frequency in Hz above 0");
            if (name == "--lowest")
                line.analyze.lowestHz = hz;
            else if (name == "--highest")
                line.analyze.highestHz = hz;
            else
                line.analyze.referenceHz = hz;
            analyzeOnly = true;
        } else if (matches(arg, "--noise-threshold")) {
            const auto value = optionValue(args, i, "--noise-threshold");
            const auto level = value ? parseNumber(*value) : std::nullopt;
            if (!level || *level < 0.0 || *level > 1.0)
                return refuse("--noise-threshold takes a level from 0 to 1");
            line.analyze.noiseThreshold = level;
            analyzeOnly = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return refuse("unknown option " + arg);
        } else {
            line.files.push_back(arg);
        }
    }

    if (!line.tuneFile.empty()) {
        if (analyze)
            return refuse("--tune and --analyze cannot be used together");
        if (!line.files.empty())
            return refuse("--tune takes one file; " + line.files.front() + " is one too many");
        if (line.action == Action::RunWindow)
            line.action = Action::Tune;
    }
    if (analyzeOnly && !analyze)
        return refuse("--notes, --json and the analysis settings need --analyze FILE.wav");
    if (analyze) {
        if (line.analyze.lowestHz && line.analyze.highestHz
            && *line.analyze.lowestHz >= *line.analyze.highestHz)
            return refuse("--lowest must lie below --highest");
        if (!line.files.empty())
            return refuse("--analyze takes one file; " + line.files.front() + " is one too many");
        if (line.action == Action::RunWindow)
            line.action = Action::Analyze;
    }
    return line;
}

std::string usageText()
{
    return "Usage: tonrik [FILE.wav]\n"
           "       tonrik --analyze FILE.wav [--notes] [--json] [settings]\n"
           "       tonrik --tune FILE.wav\n"
           "       tonrik --list-devices\n"
           "       tonrik --version\n"
           "\n"
           "  FILE.wav        a recording to open at start-up (the window cannot show it\n"
           "                  yet: use --analyze)\n"
           "  --analyze FILE  analyze a wave file without a window and print one CSV row per\n"
           "                  block (time_s,pitch_hz,level,voiced,stable,note,cents); time_s\n"
           "                  is when the sound a row describes was played in the recording\n"
           "                  (the analyzer's delay, \"# latency_s\", is taken off)\n"
           "    --notes       print one row per note instead\n"
           "    --json        print JSON instead of CSV\n"
           "    settings (default: \"tonrik.def\" in the current folder, else factory):\n"
           "    --filter-length 1|2|3   long, medium or short analysis filters\n"
           "    --sensitivity 1|2|3     high, medium or low pitch-tracking sensitivity\n"
           "    --lowest HZ, --highest HZ   the range of frequencies tracked\n"
           "    --reference HZ          the frequency of A4\n"
           "    --noise-threshold X     0 to 1; blocks louder than half of it are voiced\n"
           "    --classic               the band decision alone, without the refinement (or\n"
           "                            pitch_mode=classic in \"tonrik.prefs\")\n"
           "  --tune FILE     open the tuner hearing a wave file in real time, looping, as if\n"
           "                  it were played into the sound card\n"
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
