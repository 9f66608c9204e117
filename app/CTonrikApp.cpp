#include "CTonrikApp.h"

#include "CSplashWnd.h"
#include "CTuner.h"
#include "MessageService.h"
#include "PracticeClocks.h"
#include "PracticeLogFile.h"
#include "ProgramState.h"

#include <QIcon>

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
                                           m_clocks.active, m_clocks.run },
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

bool CTonrikApp::InitInstance(const std::vector<std::string> &files, CMainFrame::TunerOpener opener)
{
    m_running = true;
    m_program.loadDefaults([](const std::string &message) {
        widgets::messages().error(nullptr, QString::fromStdString(message));
    });

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

void CTonrikApp::ExitInstance()
{
    if (!m_running)
        return;
    m_running = false;
    m_frame.reset();
    // Both are best effort: the program ends either way, and the defaults file is only ever
    // replaced by a complete one.
    m_program.settings.SaveDefaultsFile();
    AppendPracticeLogLine(m_clocks.run, m_clocks.active);
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
