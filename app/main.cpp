#include "AnalyzeCommand.h"
#include "CTonrikApp.h"
#include "CommandLine.h"
#include "DeviceListing.h"
#include "TuneCommand.h"
#include "Version.h"

#include <QApplication>
#include <QIcon>

#include <iostream>

#include <unistd.h>

using namespace corvane;

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
    case CommandLine::Action::Analyze:
        return runAnalyzeCommand(line.analyze, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
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
    QApplication::setDesktopFileName(QString::fromLatin1(kProgramName));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/corvane/tonrik.svg")));
    if (line.action == CommandLine::Action::Tune)
        return runTuneCommand(line.tuneFile, std::cerr);
    CTonrikApp program;
    if (!program.InitInstance(line.files, CTonrikApp::TunerWindow()))
        return 1;
    const int status = app.exec();
    program.ExitInstance();
    return status;
}
