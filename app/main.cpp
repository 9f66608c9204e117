#include "AnalysisPng.h"
#include "AnalyzeCommand.h"
#include "CTonrikApp.h"
#include "ColorScheme.h"
#include "CommandLine.h"
#include "DarkPalette.h"
#include "DeviceListing.h"
#include "ListenCommand.h"
#include "PracticeClocks.h"
#include "PrivateTempDir.h"
#include "ProgramState.h"
#include "RecordCommand.h"
#include "TerminationSignals.h"
#include "TuneCommand.h"
#include "Version.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <cstdlib>
#include <iostream>
#include <optional>

#include <unistd.h>

using namespace corvane;

namespace {

// Qt's message handler is one per process (qInstallMessageHandler); the one it replaced.
QtMessageHandler g_qtMessages = nullptr;

// How often the window program looks for a termination signal.
constexpr int kSignalWatchMilliseconds = 100;

// Qt's notes about the session it would run in (no runtime folder, say) mean nothing to a
// picture drawn without one; everything else it says is passed on.
void quietAboutTheSession(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtFatalMsg && text.startsWith(QLatin1String("QStandardPaths:")))
        return;
    g_qtMessages(type, context, text);
}

// `--analyze`, with a QGuiApplication for the picture when `--png` asks for one. The picture
// needs no window system: it is drawn offscreen, the same on every machine.
int analyzeFromCommandLine(const AnalyzeOptions &options, int &argc, char *argv[])
{
    const bool terminal = isatty(STDERR_FILENO) == 1;
    if (options.pngFile.empty())
        return runAnalyzeCommand(options, std::cout, std::cerr, terminal);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    g_qtMessages = qInstallMessageHandler(quietAboutTheSession);
    const QGuiApplication app(argc, argv);
    return runAnalyzeCommand(options, std::cout, std::cerr, terminal, writeAnalysisPng);
}

// The desktop's color-scheme setting as GNOME keeps it, when gsettings can tell within a second.
std::optional<std::string> desktopColorScheme()
{
    const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    if (gsettings.isEmpty())
        return std::nullopt;
    QProcess query;
    query.start(gsettings,
                { QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"),
                  QStringLiteral("color-scheme") });
    if (!query.waitForFinished(1000) || query.exitStatus() != QProcess::NormalExit
        || query.exitCode() != 0)
        return std::nullopt;
    return query.readAllStandardOutput().trimmed().toStdString();
}

// Dark or light as the desktop or the user asks, where Qt's platform theme does not already.
void followColorScheme(QApplication &app)
{
    ColorScheme scheme = chooseColorScheme(environmentVariable, std::nullopt);
    if (scheme == ColorScheme::FollowPlatform && !widgets::isDark(QApplication::palette()))
        scheme = chooseColorScheme(environmentVariable, desktopColorScheme());
    if (scheme == ColorScheme::Dark)
        widgets::useDarkPalette(app);
    else if (scheme == ColorScheme::Light)
        widgets::useLightPalette(app);
}

} // namespace

int main(int argc, char *argv[])
{
    // The options that need no display are answered before Qt starts.
    const CommandLine line = CommandLine::parse(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.action) {
    case CommandLine::Action::ShowVersion:
        std::cout << kProductName << " (" << kProgramName << ") " << kVersion << '\n';
        return 0;
    case CommandLine::Action::ShowHelp:
        std::cout << usageText();
        return 0;
    case CommandLine::Action::Invalid:
        std::cerr << kProgramName << ": " << line.error << "\n\n" << usageText();
        return 2;
    case CommandLine::Action::ListDevices:
        return audio::listDevices(std::cout, std::cerr);
    case CommandLine::Action::Analyze: {
        // What a run that was killed left behind goes at the next one.
        PrivateTempDir::removeStale(PrivateTempDir::systemBase());
        // The settings are read where the window keeps them; nothing is made or written.
        AnalyzeOptions options = line.analyze;
        options.settingsFolder =
                ProgramFolders::forThisProcess(kDefaultsFileName, line.portable).config;
        return analyzeFromCommandLine(options, argc, argv);
    }
    case CommandLine::Action::Record:
        return runRecordCommand(line.record, std::cerr);
    case CommandLine::Action::Listen: {
        ListenOptions options = line.listen;
        options.analysis.settingsFolder =
                ProgramFolders::forThisProcess(kDefaultsFileName, line.portable).config;
        return runListenCommand(options, std::cout, std::cerr);
    }
    case CommandLine::Action::RunWindow:
    case CommandLine::Action::Tune:
        break;
    }
    if (!displayAvailable()) {
        std::cerr << kProgramName
                  << ": no display found; set DISPLAY (or run under xvfb-run), or set "
                     "QT_QPA_PLATFORM=offscreen to run without one.\n";
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kProductName));
    QApplication::setOrganizationName(QString::fromLatin1(CTonrikApp::kProfileName));
    QApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/corvane/tonrik.svg")));
    followColorScheme(app);
    // The program's state and the run's clocks, handed down to every window from here.
    ProgramState program;
    program.folders = ProgramFolders::forThisProcess(kDefaultsFileName, line.portable);
    if (line.verbose)
        std::cerr << program.folders.describe();
    PracticeClocks clocks;
    if (line.action == CommandLine::Action::Tune)
        return runTuneCommand(program, clocks, line.tuneFile, line.tuneSeconds, std::cout,
                              std::cerr);
    // A termination request, a hang-up (the session ends) or Ctrl-C in the terminal ends the
    // program by its own path: the windows close, the devices stop, the settings are saved and
    // the recording's temporary files go. The handler only notes the signal; the event loop
    // looks for it.
    const TerminationSignals signalGuard;
    QTimer signalWatch;
    QObject::connect(&signalWatch, &QTimer::timeout, [] {
        if (TerminationSignals::received() != 0)
            QCoreApplication::exit(TerminationSignals::exitStatus());
    });
    signalWatch.start(kSignalWatchMilliseconds);
    CTonrikApp application(program, clocks);
    if (!application.InitInstance(line.files, application.TunerWindow()))
        return 1;
    const int status = app.exec();
    application.ExitInstance();
    return status;
}
