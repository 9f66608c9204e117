#include "CommandLine.h"

#include "RecordCommand.h"

#include <QCommandLineParser>
#include <QStringList>

#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace corvane {

namespace {

    // Every option with a value, and what the program says when the value is missing or bad.
    struct ValueOption
    {
        const char *name;
        const char *valueName;
        const char *complaint;
    };

    constexpr std::array kValueOptions {
        ValueOption { "analyze", "FILE", "--analyze needs a wave file" },
        ValueOption { "tune", "FILE", "--tune needs a wave file" },
        ValueOption { "tune-seconds", "SECONDS",
                      "--tune-seconds takes a number of seconds above 0" },
        ValueOption { "filter-length", "1|2|3", "--filter-length takes 1, 2 or 3" },
        ValueOption { "sensitivity", "1|2|3", "--sensitivity takes 1, 2 or 3" },
        ValueOption { "lowest", "HZ", "--lowest takes a frequency in Hz above 0" },
        ValueOption { "highest", "HZ", "--highest takes a frequency in Hz above 0" },
        ValueOption { "reference", "HZ", "--reference takes a frequency in Hz above 0" },
        ValueOption { "noise-threshold", "X", "--noise-threshold takes a level from 0 to 1" },
        ValueOption { "channel", "left|right|mix", "--channel takes left, right or mix" },
        ValueOption { "scala", "FILE", "--scala needs a Scala scale file (.scl)" },
        ValueOption { "reference-from-note", "NOTE",
                      "--reference-from-note takes a note from A0 to A8, as in A4, C#5 or Bb3" },
        ValueOption { "kbm", "FILE", "--kbm needs a Scala keyboard map file (.kbm)" },
        ValueOption { "png", "FILE", "--png needs a file name" },
        ValueOption { "record", "FILE", "--record needs the name of the wave file to write" },
        ValueOption { "seconds", "SECONDS", "--seconds takes a number of seconds above 0" },
        ValueOption { "format", "RATE,CHANNELS,BITS",
                      "--format takes a rate, 1 or 2 channels and 8, 16 or 24 bits, as in "
                      "44100,2,16" },
        ValueOption { "device", "NAME", "--device needs a capture device's name" },
        ValueOption { "from", "FILE", "--from needs a wave file" },
        ValueOption { "hop", "block|quarter", "--hop takes block or quarter" },
        ValueOption { "width", "PIXELS",
                      "--width takes a whole number of pixels from 200 to 20000" },
    };

    constexpr std::array kFlags { "notes",   "summary",    "json",         "classic", "comments",
                                  "verbose", "keep-bands", "list-devices", "listen",  "portable" };

    // Options that make sense only with --analyze.
    constexpr std::array kAnalyzeOnly { "notes", "summary", "keep-bands",         "channel",
                                        "png",   "width",   "reference-from-note" };
    // The analysis settings and the output form, which --listen takes as --analyze does.
    constexpr std::array kAnalysisSettings { "json",          "classic",     "comments",
                                             "filter-length", "sensitivity", "lowest",
                                             "highest",       "reference",   "noise-threshold",
                                             "scala",         "kbm",         "hop" };

    // What the program does besides opening its window: at most one of them per run.
    constexpr std::array kActions {
        "analyze", "tune", "record", "listen", "list-devices", "version"
    };

    // Options that make sense only with --record.
    constexpr std::array kRecordOnly { "format" };
    // Options that make sense with --record or --listen.
    constexpr std::array kCaptureOptions { "seconds", "device", "from" };

    std::optional<double> parseNumber(const QString &text)
    {
        bool ok = false;
        const double value = text.trimmed() == text ? text.toDouble(&ok) : 0.0;
        if (!ok || !std::isfinite(value))
            return std::nullopt;
        return value;
    }

    std::optional<int> parseCode(const QString &text)
    {
        if (text.size() != 1 || text[0] < QLatin1Char('1') || text[0] > QLatin1Char('3'))
            return std::nullopt;
        return text[0].unicode() - '0';
    }

    // "A4", "C#5", "Bb3": the note index (0 = A0, 48 = A4, 96 = A8), or nothing.
    std::optional<int> parseNoteName(const std::string &text)
    {
        constexpr int kFromC[] = { 9, 11, 0, 2, 4, 5, 7 }; // A B C D E F G
        if (text.size() < 2 || text.size() > 3)
            return std::nullopt;
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
        if (letter < 'A' || letter > 'G')
            return std::nullopt;
        int semitone = kFromC[letter - 'A'];
        std::size_t at = 1;
        if (text[at] == '#' || text[at] == 'b') {
            semitone += text[at] == '#' ? 1 : -1;
            ++at;
        }
        if (at + 1 != text.size() || text[at] < '0' || text[at] > '8')
            return std::nullopt;
        const int index = (text[at] - '0') * 12 + semitone - 9;
        if (index < 0 || index > 96)
            return std::nullopt;
        return index;
    }

    const char *complaintFor(const QString &name)
    {
        for (const ValueOption &option : kValueOptions)
            if (name == QLatin1String(option.name))
                return option.complaint;
        return nullptr;
    }

    // The argument as the user typed it that the parser found unknown, without any "=value".
    std::string unknownArgument(const std::vector<std::string> &args, const QString &name)
    {
        for (const std::string &arg : args) {
            if (arg.size() < 2 || arg[0] != '-')
                continue;
            const std::string typed = arg.substr(0, arg.find('='));
            const std::size_t dashes = typed.rfind("--", 0) == 0 ? 2 : 1;
            if (QString::fromStdString(typed.substr(dashes)) == name)
                return typed;
        }
        return (name.size() == 1 ? "-" : "--") + name.toStdString();
    }

    // Why the parser refused the line, in the program's words.
    std::string parseFailure(const QCommandLineParser &parser, const std::vector<std::string> &args)
    {
        if (!parser.unknownOptionNames().isEmpty())
            return "unknown option " + unknownArgument(args, parser.unknownOptionNames().first());
        // The only other failures: a value missing at the end of the line, or a value given to
        // a plain switch.
        if (!args.empty()) {
            const std::string &last = args.back();
            const std::size_t dashes = last.rfind("--", 0) == 0 ? 2 : 1;
            if (const char *complaint = complaintFor(QString::fromStdString(last.substr(dashes))))
                return complaint;
        }
        // A value given to a plain switch ("--notes=3").
        const QString text = parser.errorText();
        const qsizetype quote = text.indexOf(QLatin1Char('\''));
        if (text.startsWith(QLatin1String("Unexpected value")) && quote >= 0)
            return text.mid(quote + 1).chopped(2).toStdString() + " takes no value";
        return text.toStdString();
    }

    CommandLine parseRecord(CommandLine line, const QCommandLineParser &parser)
    {
        const auto value = [&parser](const char *name) {
            return parser.value(QString::fromLatin1(name));
        };
        const auto isSet = [&parser](const char *name) {
            return parser.isSet(QString::fromLatin1(name));
        };
        const auto refuse = [&line](const char *option) {
            line.action = CommandLine::Action::Invalid;
            line.error = complaintFor(QString::fromLatin1(option));
            return line;
        };
        RecordOptions &options = line.record;
        options.file = value("record").toLocal8Bit().toStdString();
        if (options.file.empty())
            return refuse("record");
        if (!line.files.empty()) {
            line.action = CommandLine::Action::Invalid;
            line.error = "--record takes one file; " + line.files.front() + " is one too many";
            return line;
        }
        if (isSet("seconds")) {
            const auto seconds = parseNumber(value("seconds"));
            if (!seconds || *seconds <= 0.0)
                return refuse("seconds");
            options.seconds = seconds;
        }
        if (isSet("format")) {
            options.format = parseRecordFormat(value("format").toStdString());
            if (!options.format)
                return refuse("format");
        }
        if (isSet("device") && isSet("from")) {
            line.action = CommandLine::Action::Invalid;
            line.error = "--device and --from cannot be used together";
            return line;
        }
        if (isSet("device")) {
            options.device = value("device").toLocal8Bit().toStdString();
            if (options.device.empty())
                return refuse("device");
        }
        if (isSet("from")) {
            options.from = value("from").toLocal8Bit().toStdString();
            if (options.from.empty())
                return refuse("from");
        }
        line.action = CommandLine::Action::Record;
        return line;
    }

    // The analysis settings and the output form common to --analyze and --listen, into
    // `options`; the complaint when one is bad, empty when all are good.
    std::string parseAnalysisSettings(AnalyzeOptions &options, const QCommandLineParser &parser)
    {
        const auto isSet = [&parser](const char *name) {
            return parser.isSet(QString::fromLatin1(name));
        };
        const auto value = [&parser](const char *name) {
            return parser.value(QString::fromLatin1(name));
        };
        options.json = isSet("json");
        options.classic = isSet("classic");
        options.comments = isSet("comments");
        if (isSet("hop")) {
            const QString hop = value("hop");
            if (hop != QLatin1String("block") && hop != QLatin1String("quarter"))
                return complaintFor(QStringLiteral("hop"));
            options.blockHop = hop == QLatin1String("block");
        }
        options.verbose = isSet("verbose");
        for (const char *name : { "filter-length", "sensitivity" }) {
            if (!isSet(name))
                continue;
            const auto code = parseCode(value(name));
            if (!code)
                return complaintFor(QString::fromLatin1(name));
            (name == std::string("filter-length") ? options.filterLength : options.sensitivity) =
                    code;
        }
        for (auto [name, target] : { std::pair { "lowest", &options.lowestHz },
                                     std::pair { "highest", &options.highestHz },
                                     std::pair { "reference", &options.referenceHz } }) {
            if (!isSet(name))
                continue;
            const auto hz = parseNumber(value(name));
            if (!hz || *hz <= 0.0)
                return complaintFor(QString::fromLatin1(name));
            *target = hz;
        }
        if (isSet("noise-threshold")) {
            const auto level = parseNumber(value("noise-threshold"));
            if (!level || *level < 0.0 || *level > 1.0)
                return complaintFor(QStringLiteral("noise-threshold"));
            options.noiseThreshold = level;
        }
        if (options.lowestHz && options.highestHz && *options.lowestHz >= *options.highestHz)
            return "--lowest must lie below --highest";
        for (auto [name, target] :
             { std::pair { "scala", &options.scalaFile }, std::pair { "kbm", &options.kbmFile } }) {
            if (!isSet(name))
                continue;
            *target = value(name).toLocal8Bit().toStdString();
            if (target->empty())
                return complaintFor(QString::fromLatin1(name));
        }
        if (!options.kbmFile.empty() && options.scalaFile.empty())
            return "--kbm needs --scala FILE.scl";
        return {};
    }

    CommandLine parseListen(CommandLine line, const QCommandLineParser &parser)
    {
        const auto value = [&parser](const char *name) {
            return parser.value(QString::fromLatin1(name));
        };
        const auto isSet = [&parser](const char *name) {
            return parser.isSet(QString::fromLatin1(name));
        };
        const auto refuse = [&line](const std::string &why) {
            line.action = CommandLine::Action::Invalid;
            line.error = why;
            return line;
        };
        ListenOptions &options = line.listen;
        if (!line.files.empty())
            return refuse("--listen takes no file; " + line.files.front()
                          + " is one too many (--from FILE.wav hears one)");
        if (std::string why = parseAnalysisSettings(options.analysis, parser); !why.empty())
            return refuse(why);
        if (isSet("seconds")) {
            const auto seconds = parseNumber(value("seconds"));
            if (!seconds || *seconds <= 0.0)
                return refuse(complaintFor(QStringLiteral("seconds")));
            options.seconds = seconds;
        }
        if (isSet("device") && isSet("from"))
            return refuse("--device and --from cannot be used together");
        if (isSet("device")) {
            options.device = value("device").toLocal8Bit().toStdString();
            if (options.device.empty())
                return refuse(complaintFor(QStringLiteral("device")));
        }
        if (isSet("from")) {
            options.from = value("from").toLocal8Bit().toStdString();
            if (options.from.empty())
                return refuse(complaintFor(QStringLiteral("from")));
        }
        line.action = CommandLine::Action::Listen;
        return line;
    }

} // namespace

CommandLine CommandLine::parse(const std::vector<std::string> &args)
{
    CommandLine line;
    auto refuse = [&line](const std::string &why) {
        line.action = Action::Invalid;
        line.error = why;
        return line;
    };

    QCommandLineParser parser;
    // "-help" reads as "--help", not as "-h -e -l -p".
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(
            QCommandLineOption(QStringList { QStringLiteral("h"), QStringLiteral("help") }));
    parser.addOption(
            QCommandLineOption(QStringList { QStringLiteral("v"), QStringLiteral("version") }));
    for (const char *flag : kFlags)
        parser.addOption(QCommandLineOption(QString::fromLatin1(flag)));
    for (const ValueOption &option : kValueOptions)
        parser.addOption(QCommandLineOption(QString::fromLatin1(option.name), QString(),
                                            QString::fromLatin1(option.valueName)));

    QStringList list { QStringLiteral("tonrik") };
    for (const std::string &arg : args)
        list << QString::fromLocal8Bit(arg.data(), static_cast<qsizetype>(arg.size()));
    if (!parser.parse(list))
        return refuse(parseFailure(parser, args));

    const auto isSet = [&parser](const char *name) {
        return parser.isSet(QString::fromLatin1(name));
    };
    const auto value = [&parser](const char *name) {
        return parser.value(QString::fromLatin1(name));
    };
    if (isSet("help")) {
        line.action = Action::ShowHelp;
        return line;
    }

    const char *action = nullptr;
    for (const char *name : kActions) {
        if (!isSet(name))
            continue;
        if (action)
            return refuse(std::string("--") + action + " and --" + name
                          + " cannot be used together");
        action = name;
    }
    for (const char *name : { "analyze", "tune", "record" }) {
        if (parser.values(QString::fromLatin1(name)).size() > 1)
            return refuse(std::string("--") + name + " takes one file; give it once");
    }
    for (const QString &file : parser.positionalArguments())
        line.files.push_back(file.toLocal8Bit().toStdString());
    line.portable = isSet("portable");
    line.verbose = isSet("verbose");

    const bool analyze = isSet("analyze");
    const bool listen = isSet("listen");
    for (const char *name : kAnalyzeOnly) {
        if (isSet(name) && !analyze)
            return refuse(std::string("--") + name + " needs --analyze FILE.wav");
    }
    for (const char *name : kAnalysisSettings) {
        if (isSet(name) && !analyze && !listen)
            return refuse(std::string("--") + name + " needs --analyze FILE.wav or --listen");
    }
    if (isSet("tune-seconds") && !isSet("tune"))
        return refuse("--tune-seconds needs --tune FILE.wav");
    for (const char *name : kRecordOnly) {
        if (isSet(name) && !isSet("record"))
            return refuse(std::string("--") + name + " needs --record FILE.wav");
    }
    for (const char *name : kCaptureOptions) {
        if (isSet(name) && !isSet("record") && !listen)
            return refuse(std::string("--") + name + " needs --record FILE.wav or --listen");
    }

    if (isSet("version")) {
        line.action = Action::ShowVersion;
        return line;
    }
    if (isSet("list-devices")) {
        line.action = Action::ListDevices;
        return line;
    }

    if (isSet("tune")) {
        line.tuneFile = value("tune").toLocal8Bit().toStdString();
        if (line.tuneFile.empty())
            return refuse(complaintFor(QStringLiteral("tune")));
        if (!line.files.empty())
            return refuse("--tune takes one file; " + line.files.front() + " is one too many");
        if (isSet("tune-seconds")) {
            const auto seconds = parseNumber(value("tune-seconds"));
            if (!seconds || *seconds <= 0.0)
                return refuse(complaintFor(QStringLiteral("tune-seconds")));
            line.tuneSeconds = seconds;
        }
        line.action = Action::Tune;
        return line;
    }

    if (isSet("record"))
        return parseRecord(line, parser);
    if (listen)
        return parseListen(line, parser);

    if (!analyze)
        return line;

    AnalyzeOptions &options = line.analyze;
    options.file = value("analyze").toLocal8Bit().toStdString();
    if (options.file.empty())
        return refuse(complaintFor(QStringLiteral("analyze")));
    if (!line.files.empty())
        return refuse("--analyze takes one file; " + line.files.front() + " is one too many");
    options.notes = isSet("notes");
    options.summary = isSet("summary");
    if (options.notes && options.summary)
        return refuse("--notes and --summary each choose what is printed; give one");
    options.keepBands = isSet("keep-bands");
    if (std::string why = parseAnalysisSettings(options, parser); !why.empty())
        return refuse(why);
    if (isSet("channel")) {
        const auto channel = stereoChannelNamed(value("channel").toStdString());
        if (!channel)
            return refuse(complaintFor(QStringLiteral("channel")));
        options.channel = *channel;
    }
    if (isSet("reference-from-note")) {
        options.referenceNote = parseNoteName(value("reference-from-note").toStdString());
        if (!options.referenceNote)
            return refuse(complaintFor(QStringLiteral("reference-from-note")));
    }
    if (isSet("png")) {
        options.pngFile = value("png").toLocal8Bit().toStdString();
        if (options.pngFile.empty())
            return refuse(complaintFor(QStringLiteral("png")));
    }
    if (isSet("width")) {
        if (!isSet("png"))
            return refuse("--width needs --png FILE.png");
        bool ok = false;
        const int width = value("width").toInt(&ok);
        if (!ok || width < kMinPngWidth || width > kMaxPngWidth)
            return refuse(complaintFor(QStringLiteral("width")));
        options.pngWidth = width;
    }
    line.action = Action::Analyze;
    return line;
}

std::string usageText()
{
    return "Usage: tonrik [--portable] [--verbose] [FILE.wav]\n"
           "       tonrik --analyze FILE.wav [--notes | --summary] [--json] [--png FILE.png] "
           "[settings]\n"
           "       tonrik --tune FILE.wav [--tune-seconds N]\n"
           "       tonrik --record FILE.wav [--seconds N] [--format RATE,CHANNELS,BITS]\n"
           "                                [--device NAME | --from IN.wav]\n"
           "       tonrik --listen [--device NAME | --from IN.wav] [--json] [--seconds N]\n"
           "                       [settings]\n"
           "       tonrik --list-devices | --version | --help\n"
           "\n"
           "  FILE.wav        a recording to open in the main window at start-up, in place\n"
           "                  of the tuner\n"
           "  --portable      keep the settings, the practice log and the takes in the\n"
           "                  current folder (also CORVANE_PORTABLE=1, or when the folder\n"
           "                  already holds \"tonrik.def\")\n"
           "  --verbose       say on stderr which folders hold the program's files\n"
           "  --analyze FILE  analyze a wave file without a window and print one CSV row per\n"
           "                  block (time_s,pitch_hz,level,voiced,stable,note,cents); time_s\n"
           "                  is when the sound a row describes was played in the recording\n"
           "                  (the analyzer's delay, \"latency_s\", is taken off). Of a\n"
           "                  stereo file the left channel is analyzed (see --channel)\n"
           "    --notes       print one row per note instead\n"
           "    --summary     print how in tune each degree and each note was instead\n"
           "                  (scope,name,count,mean_cents,spread_cents,in_tune_share), from\n"
           "                  the held part of each note; in tune: within the pinwheels'\n"
           "                  middle zone\n"
           "    --json        print JSON instead of CSV, with the latency and the settings\n"
           "    --comments    begin the CSV with \"# latency_s=\" and \"# settings:\" lines\n"
           "    --verbose     also print the latency and the settings to stderr\n"
           "    --channel left|right|mix   the channel of a stereo file to analyze, or both\n"
           "                            mixed (default: left)\n"
           "    --keep-bands  leave the nine band files (\"tnrk0000.tmp\" ...) in the current\n"
           "                  folder, as the window does; without it none are written\n"
           "    --png FILE    also draw the window's default panes of the whole recording\n"
           "                  into a PNG picture, without a window\n"
           "    --reference-from-note NOTE  take the reference from the first NOTE (A4,\n"
           "                            C#5, ...) held steadily for a second in the file,\n"
           "                            and say which on stderr\n"
           "    --width PIXELS          the picture's width (default: the recording's, up to\n"
           "                            1200)\n"
           "    settings (default: \"tonrik.def\" in the settings folder, else factory; --listen\n"
           "    takes them too):\n"
           "    --filter-length 1|2|3   long, medium or short analysis filters\n"
           "    --sensitivity 1|2|3     high, medium or low pitch-tracking sensitivity\n"
           "    --lowest HZ, --highest HZ   the range of frequencies tracked\n"
           "    --reference HZ          the frequency of A4\n"
           "    --noise-threshold X     0 to 1; blocks louder than half of it are voiced\n"
           "    --scala FILE.scl        count the cents from the notes of this twelve-note\n"
           "                            Scala scale (its 1/1 on the key's tonic)\n"
           "    --kbm FILE.kbm          with --scala: its keyboard map (the note its 1/1 sits\n"
           "                            on, and a reference note and frequency)\n"
           "    --classic               the band decision alone, without the refinement (or\n"
           "                            pitch_mode=classic in \"tonrik.prefs\")\n"
           "    --hop block|quarter     one row per block (about 93 ms), or per hop of a\n"
           "                            quarter block or less (about 23 ms, the default; or\n"
           "                            hop=block in \"tonrik.prefs\")\n"
           "  --tune FILE     open the tuner hearing a wave file in real time, looping, as\n"
           "                  if it were played into the sound card\n"
           "    --tune-seconds N        close the tuner again after N seconds, printing\n"
           "                            each new reading on the way\n"
           "  --record FILE   record into a wave file until N seconds have passed or\n"
           "                  Ctrl-C; the file is valid whenever the program stops\n"
           "    --seconds N             how long to record\n"
           "    --format RATE,CHANNELS,BITS   e.g. 44100,2,16 (default 44100,1,16)\n"
           "    --device NAME           the capture device (see --list-devices); default:\n"
           "                            the system's\n"
           "    --from IN.wav           record a wave file played in real time instead\n"
           "  --listen        hear the capture device and print one row per block as it\n"
           "                  comes, the columns of --analyze (CSV with a header, or one\n"
           "                  JSON object per line with --json), each line flushed; a row\n"
           "                  follows its block by one block, unsmoothed; ends after N\n"
           "                  seconds, at Ctrl-C or when the reader of the output goes\n"
           "    --seconds N             how long to listen\n"
           "    --device NAME           the capture device (default: the system's)\n"
           "    --from IN.wav           hear a wave file played in real time instead\n"
           "  --list-devices  list the sound systems and devices, then exit\n"
           "  -v, --version   print the program's name and version, then exit\n"
           "  -h, --help      print this text, then exit\n"
           "\n"
           "Files: the settings (\"tonrik.def\", \"tonrik.prefs\") in\n"
           "$XDG_CONFIG_HOME/corvane (~/.config/corvane), the practice log (\"corvlog.txt\")\n"
           "in $XDG_DATA_HOME/corvane (~/.local/share/corvane), the tuner's takes in the\n"
           "Music folder's \"Corvane\" (~/Music/Corvane), the analysis's temporary files in\n"
           "$XDG_CACHE_HOME/corvane; all in the current folder with --portable.\n";
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
