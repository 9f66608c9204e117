#include "CTonrikApp.h"

#include "CSplashWnd.h"
#include "CTuner.h"
#include "MessageService.h"
#include "PortAudioBackend.h"
#include "PracticeClocks.h"
#include "PracticeLogFile.h"
#include "ProgramState.h"
#include "VirtualBackend.h"

#include <QIcon>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include <unistd.h>

namespace corvane {

namespace {

    constexpr const char *kImages[] = {
        ":/corvane/tonrik.svg",         ":/corvane/icons/tuner.svg",
        ":/corvane/icons/capture.svg",  ":/corvane/icons/play.svg",
        ":/corvane/icons/loop.svg",     ":/corvane/icons/zoom-in.svg",
        ":/corvane/icons/zoom-out.svg", ":/corvane/icons/print-preview.svg",
    };

    TunerOutcome OutcomeOf(tuner::TunerClosing how) noexcept
    {
        switch (how) {
        case tuner::TunerClosing::ReviewWithoutRecording:
            return TunerOutcome::ReviewLastSeconds;
        case tuner::TunerClosing::ReviewRecording:
            return TunerOutcome::ReviewRecording;
        case tuner::TunerClosing::Exit:
            return TunerOutcome::Exit;
        case tuner::TunerClosing::Cancel:
            break;
        }
        return TunerOutcome::Canceled;
    }

} // namespace

CMainFrame::TunerOpener CTonrikApp::TunerWindow()
{
    return [this](QWidget *parent, bool recording, std::function<void(TunerOutcome)> closed) {
        // A child of the main window that deletes itself once closed; the frame hears of the
        // closing after the window's own event has finished.
        auto *window = new tuner::CTuner({ m_program.settings, m_program.noteTable, m_program.keys,
                                           m_clocks.active, m_clocks.run, m_program.folders,
                                           &m_clocks.intonation },
                                         recording, m_tunerDialogs, parent);
        window->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(
                window, &tuner::CTuner::closed, parent,
                [closed = std::move(closed)](tuner::TunerClosing how) { closed(OutcomeOf(how)); },
                Qt::QueuedConnection);
        window->open();
    };
}

CTonrikApp::CTonrikApp(ProgramState &program, PracticeClocks &clocks)
    : m_program(program)
    , m_clocks(clocks)
    , m_tunerDialogs(program)
{
}

CTonrikApp::~CTonrikApp()
{
    ExitInstance();
}

std::string CTonrikApp::FolderProblem(const std::filesystem::path &folder)
{
    const bool working = folder.empty() || folder == ".";
    if (::access(working ? "." : folder.c_str(), W_OK | X_OK) == 0)
        return {};
    const int cause = errno;
    std::error_code ignored;
    return "Corvane cannot write in the folder \""
            + std::filesystem::weakly_canonical(
                      std::filesystem::absolute(working ? "." : folder, ignored), ignored)
                      .string()
            + "\" (" + std::strerror(cause)
            + "), so its settings (\"tonrik.def\"), the practice log (\"corvlog.txt\"), "
              "recordings and the analysis's temporary files cannot be kept there. The program "
              "goes on without them"
            + (working ? "; start it from a folder you can write to." : ".");
}

std::string CTonrikApp::FoldersProblem(const ProgramFolders &folders)
{
    if (std::string made = folders.create(); !made.empty())
        return made + ". Corvane goes on without its settings and practice log.";
    for (const std::filesystem::path &folder : { folders.config, folders.data }) {
        if (std::string problem = FolderProblem(folder); !problem.empty())
            return problem;
    }
    return {};
}

bool CTonrikApp::InitInstance(const std::vector<std::string> &files, CMainFrame::TunerOpener opener)
{
    m_running = true;
    // One message for the folder says what every file in it would otherwise say on its own.
    const std::string folderProblem = FoldersProblem(m_program.folders);
    m_program.loadDefaults([&folderProblem](const std::string &message) {
        if (folderProblem.empty())
            widgets::messages().error(nullptr, QString::fromStdString(message));
    });
    if (!folderProblem.empty()) {
        widgets::messages().error(nullptr, QString::fromStdString(folderProblem));
        m_folderProblemSaid = true;
    }
    RestoreSoundDevices();

    CSplashWnd::EnableSplashScreen(true);

    if (!LoadSharedImages())
        widgets::messages().error(nullptr, QString::fromLatin1(kImagesFailedMessage));

    m_frame = std::make_unique<CMainFrame>(CMainFrame::Context { m_program, m_clocks });
    if (opener)
        m_frame->setTunerOpener(std::move(opener));
    if (!files.empty())
        m_frame->openAtStart(QString::fromStdString(files.front()));
    m_frame->showMaximized();
    m_frame->update();
    return true;
}

void CTonrikApp::RestoreSoundDevices()
{
    m_devices.emplace(m_program.preferencesFile());
    // The sound system is started only to find a device the user chose.
    if (!m_devices->remembersDevices())
        return;
    audio::PortAudioBackend portAudio;
    const std::string missing =
            m_devices->restore({ &portAudio, &audio::VirtualBackend::instance() });
    if (!missing.empty())
        widgets::messages().show(nullptr, {}, QString::fromStdString(missing),
                                 widgets::MessageService::Icon::Exclamation,
                                 widgets::MessageService::Buttons::Ok);
}

void CTonrikApp::ExitInstance()
{
    if (!m_running)
        return;
    m_running = false;
    m_frame.reset();
    // The program ends either way, and no file is ever left half written; what could not be
    // kept is said once, unless start-up has already said that the folder takes nothing.
    const std::filesystem::path logFile = m_program.folders.data / kPracticeLogFileName;
    std::vector<std::string> failures {
        m_program.settings.WriteDefaultsFile(m_program.defaultsFile()),
        m_devices ? m_devices->keep() : std::string(),
        AppendPracticeLogLine(m_clocks.run, m_clocks.active, {}, logFile),
        AppendIntonationLogLines(m_clocks.run.startTime(), m_clocks.intonation, {}, logFile)
    };
    if (m_folderProblemSaid)
        return;
    for (const std::string &failure : failures) {
        if (!failure.empty())
            std::fprintf(stderr, "tonrik: %s\n", failure.c_str());
    }
}

bool CTonrikApp::LoadSharedImages()
{
    for (const char *path : kImages) {
        const QIcon icon(QString::fromLatin1(path));
        if (icon.isNull() || icon.pixmap(QSize(16, 16)).isNull())
            return false;
    }
    return true;
}

} // namespace corvane
