#include "CMainFrame.h"

#include "AnalyzerPreferences.h"
#include "AudioFacade.h"
#include "CAboutDlg.h"
#include "CClefDialog.h"
#include "CDlgConfigSound.h"
#include "CDlgRef.h"
#include "CKeyDialog.h"
#include "CSplashWnd.h"
#include "CTCDefs.h"
#include "DlgLogOpts.h"
#include "DlgOptimize.h"
#include "DlgTemp.h"
#include "DlgTranspose.h"
#include "HelpWindow.h"
#include "KeyContext.h"
#include "LogPrintJob.h"
#include "MessageService.h"
#include "PracticeClocks.h"
#include "ProgramState.h"
#include "RecentFileList.h"
#include "RecordingWindow.h"
#include "TakeNames.h"
#include "Version.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSlider>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <cmath>
#include <filesystem>

namespace corvane {

namespace {

    QIcon ToolIcon(const char *name)
    {
        return QIcon(QStringLiteral(":/corvane/icons/%1.svg").arg(QString::fromLatin1(name)));
    }

    struct PaneCommand
    {
        CMainFrame::Command command;
        MainFrameState::Pane pane;
        const char *menuText;
        const char *buttonText;
    };
    constexpr PaneCommand kPanes[6] = {
        { CMainFrame::Command::ViewNotes, MainFrameState::Notes, "View &notes", "View Notes" },
        { CMainFrame::Command::ViewIntonation, MainFrameState::Intonation, "View &intonation",
          "View Intonation" },
        { CMainFrame::Command::ViewVolume, MainFrameState::Volume, "View &volume", "View Volume" },
        { CMainFrame::Command::ViewWave, MainFrameState::Wave, "View &wave", "View Wave" },
        { CMainFrame::Command::ViewOctaveBands, MainFrameState::OctaveBands, "View octave &bands",
          "View Octaves" },
        { CMainFrame::Command::ViewTimingMarks, MainFrameState::TimingMarks, "View timing &marks",
          "View Timing" },
    };

    constexpr int kVolumeSteps = 40; // the slider's range; a step is 0.025 of full volume

} // namespace

CMainFrame::CMainFrame(const Context &context, QWidget *parent)
    : QMainWindow(parent)
    , m_context(context)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setWindowIcon(QIcon(QStringLiteral(":/corvane/tonrik.svg")));
    m_recording = new RecordingWindow(m_context.program, this);
    setCentralWidget(m_recording);
    resize(900, 640);

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateOptionBar();
    CreateStatusBar();
    m_recording->panesChanged(m_context.program.settings.GetViewPanes());
    m_recording->zoomChanged(m_state.zoom());
    connect(m_recording, &RecordingWindow::titleChanged, this, &CMainFrame::ShowTitle);
    connect(m_recording, &RecordingWindow::recordingChanged, this, &CMainFrame::ShowState);
    connect(m_recording, &RecordingWindow::recentFilesChanged, this, &CMainFrame::ShowRecentFiles);
    connect(m_recording, &RecordingWindow::playbackStopped, this, &CMainFrame::playbackEnded);
    setView(m_recording);
    ShowTitle();
    ShowVolume();
    ShowRecentFiles();

    CSplashWnd::ShowSplashScreen(this);
    // Asked for once the window is up and the event loop runs, as if the user had chosen it.
    QMetaObject::invokeMethod(
            this, [this] { OnStart(); }, Qt::QueuedConnection);
}

void CMainFrame::openAtStart(const QString &path)
{
    m_startFile = path;
}

void CMainFrame::OnStart()
{
    // A musician who names a recording wants to see it, not to tune first: the tuner is one
    // click away.
    const QString file = std::exchange(m_startFile, {});
    if (!file.isEmpty() && m_recording->openFile(file))
        return;
    action(Command::TunerOnly)->trigger();
}

void CMainFrame::ShowTitle()
{
    setWindowTitle(
            QStringLiteral("%1 - %2").arg(m_recording->title(), QString::fromLatin1(kProductName)));
}

void CMainFrame::ShowTakes()
{
    m_takesMenu->clear();
    const auto takes = tuner::takesSince(m_context.program.folders.recordings,
                                         m_context.clocks.run.startTime());
    for (const std::filesystem::path &take : takes) {
        const QString path = QString::fromStdString(take.string());
        QAction *open = m_takesMenu->addAction(path);
        open->setEnabled(!m_tunerOpen && !m_state.playing() && !m_state.looping());
        connect(open, &QAction::triggered, this, [this, path] { m_recording->reviewTake(path); });
    }
    if (takes.empty())
        m_takesMenu->addAction(tr("(none recorded yet)"))->setEnabled(false);
}

void CMainFrame::ShowRecentFiles()
{
    const QStringList files = RecentFileList().files();
    for (std::size_t i = 0; i < m_recentFiles.size(); ++i) {
        QAction *a = m_recentFiles[i];
        const bool used = qsizetype(i) < files.size();
        a->setVisible(used);
        if (!used)
            continue;
        const QString &file = files[qsizetype(i)];
        a->setData(file);
        a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(file)));
        a->setStatusTip(tr("Open this recording"));
    }
    m_recentSeparator->setVisible(!files.isEmpty());
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    // An analysis that runs is given up: the file is still there to open next time.
    if (m_recording->busy())
        m_recording->cancelAnalysis();
    // A take not yet saved is the user's to keep or drop.
    if (!m_recording->saveModified()) {
        event->ignore();
        return;
    }
    if (m_view && !m_state.canStartTuner()) {
        m_view->stopPlayback();
        m_state.playbackEnded();
    }
    QMainWindow::closeEvent(event);
}

CMainFrame::~CMainFrame() = default;

QAction *CMainFrame::Add(Command command, const QString &text, const QString &tip,
                         const QKeySequence &shortcut)
{
    auto *a = new QAction(text, this); // owned by the window
    a->setStatusTip(tip);
    a->setToolTip(QString(text).remove(QLatin1Char('&')).remove(QStringLiteral("...")));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    m_actions[std::size_t(command)] = a;
    return a;
}

void CMainFrame::CreateActions()
{
    using C = Command;
    connect(Add(C::New, tr("&New"), tr("Create a new recording"), QKeySequence::New),
            &QAction::triggered, m_recording, &RecordingWindow::newDocument);
    connect(Add(C::Open, tr("&Open..."), tr("Open a wave file"), QKeySequence::Open),
            &QAction::triggered, m_recording, &RecordingWindow::open);
    connect(Add(C::Save, tr("&Save"), tr("Save the recording"), QKeySequence::Save),
            &QAction::triggered, m_recording, &RecordingWindow::save);
    connect(Add(C::SaveAs, tr("Save &As..."), tr("Save the recording under a new name")),
            &QAction::triggered, m_recording, &RecordingWindow::saveAs);
    connect(Add(C::Close, tr("&Close"), tr("Close the recording")), &QAction::triggered,
            m_recording, &RecordingWindow::closeDocument);
    connect(Add(C::Export, tr("&Export..."),
                tr("Write the notes as CSV, or the panes as a PNG picture or a PDF document")),
            &QAction::triggered, m_recording, &RecordingWindow::exportFile);
    connect(Add(C::Copy, tr("&Copy"), tr("Copy the panes and the selected notes"),
                QKeySequence::Copy),
            &QAction::triggered, m_recording, &RecordingWindow::copy);
    connect(Add(C::IntonationSummary, tr("&Intonation Summary..."),
                tr("How in tune each note of the selection or the recording was played")),
            &QAction::triggered, m_recording, &RecordingWindow::showIntonationSummary);
    for (auto &recent : m_recentFiles) {
        recent = new QAction(this); // owned by the window
        connect(recent, &QAction::triggered, this,
                [this, recent] { m_recording->openFile(recent->data().toString()); });
    }
    connect(Add(C::PrintLog, tr("&Print Log..."), tr("Print the practice log"),
                QKeySequence::Print),
            &QAction::triggered, this, &CMainFrame::OnPrintLog);
    connect(Add(C::PrintPreview, tr("Print Pre&view"), tr("Show the practice log as printed")),
            &QAction::triggered, this, &CMainFrame::OnPrintPreview);
    connect(Add(C::PrintSetup, tr("P&rint Setup..."), tr("Choose the printer and the paper")),
            &QAction::triggered, this, &CMainFrame::OnPrintSetup);
    connect(Add(C::PrintOptions, tr("Prin&t Options..."), tr("Choose what the practice log shows")),
            &QAction::triggered, this, &CMainFrame::OnPrintOptions);
    connect(Add(C::Exit, tr("E&xit"), tr("Quit the program")), &QAction::triggered, this,
            &QWidget::close);

    for (const PaneCommand &p : kPanes) {
        QAction *a = Add(p.command, tr(p.menuText), tr("Show or hide this pane"));
        a->setCheckable(true);
        connect(a, &QAction::toggled, this, [this, pane = p.pane](bool on) { OnPane(pane, on); });
    }
    QAction *zoomIn = Add(C::ZoomIn, tr("Zoom In"), tr("Show less time, in more detail"));
    zoomIn->setIcon(ToolIcon("zoom-in"));
    connect(zoomIn, &QAction::triggered, this, [this] { OnZoom(true); });
    QAction *zoomOut = Add(C::ZoomOut, tr("Zoom Out"), tr("Show more time"));
    zoomOut->setIcon(ToolIcon("zoom-out"));
    connect(zoomOut, &QAction::triggered, this, [this] { OnZoom(false); });
    action(C::PrintPreview)->setIcon(ToolIcon("print-preview"));

    QAction *tuner = Add(C::TunerOnly, tr("&Tuner only"), tr("Open the tuner"));
    tuner->setIcon(ToolIcon("tuner"));
    connect(tuner, &QAction::triggered, this, [this] { OnTuner(false); });
    QAction *capture = Add(C::Capture, tr("&Capture"), tr("Open the tuner and record"));
    capture->setIcon(ToolIcon("capture"));
    connect(capture, &QAction::triggered, this, [this] { OnTuner(true); });
    QAction *play = Add(C::Play, tr("&Play"), tr("Play the recording"));
    play->setIcon(ToolIcon("play"));
    play->setCheckable(true);
    // Space starts and stops playback, as in every player.
    play->setShortcut(QKeySequence(Qt::Key_Space));
    connect(play, &QAction::triggered, this, &CMainFrame::OnPlay);
    QAction *loop = Add(C::Loop, tr("Loop"), tr("Play the recording over and over"));
    loop->setIcon(ToolIcon("loop"));
    loop->setCheckable(true);
    connect(loop, &QAction::triggered, this, &CMainFrame::OnLoop);

    using namespace dialogs;
    CTCDefs &settings = m_context.program.settings;
    KeyContext &keys = m_context.program.keys;
    CPitch &pitch = m_context.program.noteTable;
    // The dialogs take the program's objects by reference; the lambdas capture the references.
    connect(Add(C::SetClef, tr("Set c&lef..."), tr("Choose the clef of the staves")),
            &QAction::triggered, this, [this, &settings = settings, &keys = keys, &pitch = pitch] {
                OpenDialog(new CClefDialog(keys, settings, m_context.program.defaultsFile(), this),
                           true);
            });
    connect(Add(C::SetKey, tr("Set &key..."), tr("Choose the written key")), &QAction::triggered,
            this, [this, &settings = settings, &keys = keys, &pitch = pitch] {
                OpenDialog(new CKeyDialog(keys, this), true);
            });
    connect(Add(C::Transposition, tr("Transposition..."), tr("Set the instrument's transposition")),
            &QAction::triggered, this, [this, &settings = settings, &keys = keys, &pitch = pitch] {
                OpenDialog(new DlgTranspose(keys, this), true);
            });
    connect(Add(C::Temperaments, tr("&Temperaments..."), tr("Choose a temperament")),
            &QAction::triggered, this, [this, &settings = settings, &keys = keys, &pitch = pitch] {
                OpenDialog(new DlgTemp(settings, this, &pitch));
            });
    connect(Add(C::PitchReference, tr("Set pitch &reference..."), tr("Set the pitch of a'")),
            &QAction::triggered, this, [this, &settings = settings, &keys = keys, &pitch = pitch] {
                OpenDialog(new CDlgRef(pitch, settings, this));
            });
    connect(Add(C::ConfigureSound, tr("&Configure Sound Card..."),
                tr("Choose the sound devices and formats")),
            &QAction::triggered, this, [this, &settings = settings, &keys = keys, &pitch = pitch] {
                OpenDialog(new CDlgConfigSound(settings, SoundBackends::program(), this));
            });
    connect(Add(C::Optimize, tr("Optimize..."), tr("Tune the analysis to the instrument")),
            &QAction::triggered, this, [this, &settings = settings, &keys = keys, &pitch = pitch] {
                OpenDialog(new DlgOptimize(pitch, settings, keys, this,
                                           m_context.program.preferencesFile()));
            });
    connect(Add(C::RestoreDefaults, tr("Restore &default settings"),
                tr("Restore the factory settings")),
            &QAction::triggered, this, &CMainFrame::OnRestoreDefaults);

    connect(Add(C::HelpTopics, tr("%1 Help Topics").arg(QString::fromLatin1(kProductName)),
                tr("Show the help"), QKeySequence::HelpContents),
            &QAction::triggered, this, &CMainFrame::OnHelp);
    connect(Add(C::About, tr("&About %1...").arg(QString::fromLatin1(kProductName)),
                tr("Show the program's version")),
            &QAction::triggered, this, &CMainFrame::OnAbout);
}

void CMainFrame::CreateMenus()
{
    using C = Command;
    QMenu *file = menuBar()->addMenu(tr("&File"));
    for (C c : { C::New, C::Open, C::Close, C::Save, C::SaveAs })
        file->addAction(action(c));
    file->addSeparator();
    file->addAction(action(C::Export));
    file->addSeparator();
    for (C c : { C::PrintLog, C::PrintPreview, C::PrintSetup, C::PrintOptions })
        file->addAction(action(c));
    m_recentSeparator = file->addSeparator();
    for (QAction *recent : m_recentFiles)
        file->addAction(recent);
    file->addSeparator();
    file->addAction(action(C::Exit));
    // Another copy of the program may have changed the list meanwhile.
    connect(file, &QMenu::aboutToShow, this, &CMainFrame::ShowRecentFiles);

    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    edit->addAction(action(C::Copy));
    edit->addAction(action(C::IntonationSummary));

    QMenu *view = menuBar()->addMenu(tr("&View"));
    // The bar toggles go first; CreateStatusBar puts them in once the bars exist.
    view->setObjectName(QStringLiteral("viewMenu"));
    for (const PaneCommand &p : kPanes)
        view->addAction(action(p.command));
    view->addSeparator();
    view->addAction(action(C::ZoomIn));
    view->addAction(action(C::ZoomOut));

    QMenu *tuner = menuBar()->addMenu(tr("T&uner"));
    for (C c : { C::TunerOnly, C::Capture, C::Play, C::Loop })
        tuner->addAction(action(c));
    tuner->addSeparator();
    m_takesMenu = tuner->addMenu(tr("Ta&kes of This Session"));
    m_takesMenu->setObjectName(QStringLiteral("takesMenu"));
    connect(m_takesMenu, &QMenu::aboutToShow, this, &CMainFrame::ShowTakes);

    QMenu *settings = menuBar()->addMenu(tr("&Settings"));
    for (C c : { C::SetClef, C::SetKey, C::Transposition })
        settings->addAction(action(c));
    settings->addSeparator();
    for (C c : { C::Temperaments, C::PitchReference })
        settings->addAction(action(c));
    settings->addSeparator();
    for (C c : { C::ConfigureSound, C::Optimize })
        settings->addAction(action(c));
    settings->addSeparator();
    settings->addAction(action(C::RestoreDefaults));

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->addAction(action(C::HelpTopics));
    help->addSeparator();
    help->addAction(action(C::About));
}

void CMainFrame::CreateToolBar()
{
    using C = Command;
    m_toolBar = addToolBar(tr("Toolbar"));
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setIconSize(QSize(32, 32));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (C c : { C::TunerOnly, C::Capture, C::Play, C::Loop })
        m_toolBar->addAction(action(c));
    m_toolBar->addSeparator();
    m_toolBar->addAction(action(C::ZoomIn));
    m_toolBar->addAction(action(C::ZoomOut));
    m_toolBar->addSeparator();
    m_toolBar->addAction(action(C::PrintPreview));
    // The toolbar's own button text is short; the menu keeps its mnemonics.
    action(C::TunerOnly)->setIconText(tr("Tuner only"));
    action(C::Capture)->setIconText(tr("Capture"));
    action(C::Play)->setIconText(tr("Play"));
    action(C::PrintPreview)->setIconText(tr("Print Preview"));

    QAction *toggle = m_toolBar->toggleViewAction();
    toggle->setText(tr("&Toolbar"));
    toggle->setStatusTip(tr("Show or hide the toolbar"));
    m_actions[std::size_t(C::Toolbar)] = toggle;
}

void CMainFrame::CreateOptionBar()
{
    m_optionBar = new QToolBar(tr("Option Bar"), this); // owned by the window
    m_optionBar->setObjectName(QStringLiteral("optionBar"));
    addToolBarBreak();
    addToolBar(Qt::TopToolBarArea, m_optionBar);
    auto *panes = new QLabel(tr("Select view panes:"));
    panes->setContentsMargins(4, 0, 4, 0);
    m_optionBar->addWidget(panes);
    for (std::size_t i = 0; i < 6; ++i) {
        auto *button = new QToolButton;
        // The button shows the action's icon text, the menu its text with the mnemonic.
        action(kPanes[i].command)->setIconText(tr(kPanes[i].buttonText));
        button->setDefaultAction(action(kPanes[i].command));
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setAutoRaise(false);
        m_optionBar->addWidget(button);
        m_paneButtons[i] = button;
    }
    m_optionBar->addSeparator();
    auto *volume = new QLabel(tr("Volume"));
    volume->setContentsMargins(4, 0, 4, 0);
    m_optionBar->addWidget(volume);
    // Position 0 at the top, as the slider always had.
    m_volume = new QSlider(Qt::Vertical);
    m_volume->setObjectName(QStringLiteral("volumeSlider"));
    m_volume->setRange(0, kVolumeSteps);
    m_volume->setTickInterval(4);
    m_volume->setTickPosition(QSlider::TicksBothSides);
    // Loud at the top, as the tuner's "Synth" slider and every mixer.
    m_volume->setFixedHeight(44);
    m_volume->setToolTip(tr("Playback volume"));
    m_optionBar->addWidget(m_volume);
    connect(m_volume, &QSlider::sliderReleased, this, &CMainFrame::OnVolumeReleased);
    // Keys and clicks on the groove move the slider without a release; they count as one.
    connect(m_volume, &QSlider::valueChanged, this, [this] {
        if (!m_volume->isSliderDown())
            OnVolumeReleased();
    });

    QAction *toggle = m_optionBar->toggleViewAction();
    toggle->setText(tr("&Option Bar"));
    toggle->setStatusTip(tr("Show or hide the option bar"));
    m_actions[std::size_t(Command::OptionBar)] = toggle;
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar *bar = statusBar();
    for (const char *lock : { "CAP", "NUM", "SCRL" }) {
        auto *indicator = new QLabel(QString::fromLatin1(lock)); // owned by the status bar
        indicator->setObjectName(QString::fromLatin1(lock));
        indicator->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // The lock keys' states are not visible to a portable program; the panes keep their
        // place and show grayed.
        indicator->setEnabled(false);
        bar->addPermanentWidget(indicator);
    }
    bar->showMessage(tr("Ready"));

    auto *toggle = new QAction(tr("&Status Bar"), this); // owned by the window
    toggle->setCheckable(true);
    toggle->setChecked(true);
    toggle->setStatusTip(tr("Show or hide the status bar"));
    connect(toggle, &QAction::toggled, bar, &QWidget::setVisible);
    m_actions[std::size_t(Command::StatusBar)] = toggle;

    if (auto *view = menuBar()->findChild<QMenu *>(QStringLiteral("viewMenu"))) {
        QAction *first = view->actions().value(0);
        view->insertAction(first, action(Command::Toolbar));
        view->insertAction(first, action(Command::OptionBar));
        view->insertAction(first, toggle);
        view->insertSeparator(first);
    }
}

void CMainFrame::setTunerOpener(TunerOpener opener)
{
    m_tunerOpener = std::move(opener);
    ShowState();
}

void CMainFrame::setView(FrameView *view)
{
    if (!view && m_view && !m_state.canStartTuner()) {
        m_view->stopPlayback();
        m_state.playbackEnded();
    }
    m_view = view;
    ShowState();
}

void CMainFrame::OnTuner(bool recording)
{
    if (!m_tunerOpener || !m_state.canStartTuner() || m_tunerOpen)
        return;
    m_tunerOpen = true;
    ShowState();
    m_tunerOpener(this, recording, [this](TunerOutcome how) { OnTunerClosed(how); });
}

void CMainFrame::OnTunerClosed(TunerOutcome how)
{
    m_tunerOpen = false;
    // The tuner has its own volume slider; the option bar follows what it left.
    ShowVolume();
    ShowState();
    if (m_view)
        m_view->tunerClosed(how);
    update();
}

void CMainFrame::OnPlay()
{
    PlayOrStop(m_state.togglePlay() == MainFrameState::Toggle::Started, false);
}

void CMainFrame::OnLoop()
{
    PlayOrStop(m_state.toggleLoop() == MainFrameState::Toggle::Started, true);
}

void CMainFrame::PlayOrStop(bool start, bool loop)
{
    if (m_view) {
        if (start && !m_view->startPlayback(loop))
            m_state.playbackEnded();
        else if (!start)
            m_view->stopPlayback();
    }
    ShowState();
}

void CMainFrame::playbackEnded()
{
    m_state.playbackEnded();
    ShowState();
}

void CMainFrame::OnPane(MainFrameState::Pane pane, bool on)
{
    const std::uint32_t panes = m_context.program.settings.GetViewPanes();
    if (bool(panes & pane) == on)
        return; // the check already shows the stored state (set while building the window)
    m_context.program.settings.SetViewPanes(MainFrameState::togglePane(panes, pane));
    if (m_view)
        m_view->panesChanged(m_context.program.settings.GetViewPanes());
}

void CMainFrame::OnZoom(bool in)
{
    const bool changed = in ? m_state.zoomIn() : m_state.zoomOut();
    if (changed && m_view)
        m_view->zoomChanged(m_state.zoom());
    ShowState();
}

void CMainFrame::OnVolumeReleased()
{
    m_context.program.settings.SetVolume(float(m_volume->value()) * 0.025f);
    if (m_view && !m_state.canStartTuner())
        m_view->setPlaybackVolume(m_context.program.settings.GetVolume());
}

void CMainFrame::ShowVolume()
{
    const QSignalBlocker quiet(m_volume);
    m_volume->setValue(int(std::lround(m_context.program.settings.GetVolume() * kVolumeSteps)));
}

void CMainFrame::ShowState()
{
    using C = Command;
    const bool busy = m_recording->busy();
    const bool tunerFree = m_state.canStartTuner() && !m_tunerOpen && bool(m_tunerOpener) && !busy;
    action(C::TunerOnly)->setEnabled(tunerFree);
    action(C::Capture)->setEnabled(tunerFree);
    const bool playable = m_view && m_view->hasRecording() && !m_tunerOpen && !busy;
    action(C::Play)->setEnabled(playable && m_state.canPlay());
    action(C::Loop)->setEnabled(playable && m_state.canLoop());
    const bool loaded = m_recording->hasRecording() && !busy;
    for (C c : { C::SaveAs, C::Close, C::Export, C::Copy, C::IntonationSummary })
        action(c)->setEnabled(loaded);
    action(C::Save)->setEnabled(loaded && m_recording->fileState().unsaved());
    action(C::New)->setEnabled(!busy);
    action(C::Open)->setEnabled(!busy);
    for (QAction *recent : m_recentFiles)
        recent->setEnabled(!busy);
    action(C::Play)->setChecked(m_state.playing());
    action(C::Loop)->setChecked(m_state.looping());
    action(C::ZoomIn)->setEnabled(m_state.zoom() < MainFrameState::kMaxZoom);
    action(C::ZoomOut)->setEnabled(m_state.zoom() > MainFrameState::kMinZoom);
    const std::uint32_t panes = m_context.program.settings.GetViewPanes();
    for (const PaneCommand &p : kPanes) {
        const QSignalBlocker quiet(action(p.command));
        action(p.command)->setChecked(panes & p.pane);
    }
}

void CMainFrame::OnRestoreDefaults()
{
    if (!widgets::messages().warningOkCancel(this, QString::fromLatin1(kRestoreDefaultsQuestion)))
        return;
    ProgramState &program = m_context.program;
    program.settings.RestoreDefaults();
    program.noteTable.SetReference(program.settings.GetReferenceHz());
    // The written key and mode are the piece's, not settings: they stay.
    const int key = program.keys.Key();
    const int mode = program.keys.Mode();
    program.keys = KeyContext(program.settings);
    program.keys.SetKey(key);
    program.keys.SetMode(mode);
    audio::setCaptureDevice(std::nullopt);
    audio::setPlaybackDevice(std::nullopt);
    QString said = QString::fromLatin1(kDefaultsRestoredMessage);
    // The pitch mode lives beside the defaults file, which is written only at exit: it is put
    // back now, and a file that will not take it is said with the rest.
    if (AnalyzerPreferences::load(m_context.program.preferencesFile()).classic) {
        if (const auto saved = AnalyzerPreferences {}.save(); !saved)
            said += QLatin1Char('\n') + QString::fromStdString(saved.error);
    }
    if (m_view)
        m_view->panesChanged(program.settings.GetViewPanes());
    ShowVolume();
    ShowState();
    update();
    widgets::messages().show(this, {}, said, widgets::MessageService::Icon::Information,
                             widgets::MessageService::Buttons::Ok);
}

void CMainFrame::OpenDialog(QDialog *dialog, bool repaintAfter)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose); // the dialog is a child of the window till then
    if (repaintAfter)
        connect(dialog, &QDialog::finished, this, [this] { update(); });
    dialog->open();
}

bool CMainFrame::printLog(QPrinter &printer)
{
    return LogPrintJob::ofProgram(printer, m_context.clocks, m_context.program).print(printer);
}

void CMainFrame::OnPrintLog()
{
    auto *dialog = new QPrintDialog(m_printer.get(), this);
    dialog->setWindowTitle(tr("Print Log"));
    connect(dialog, &QDialog::accepted, this, [this] { printLog(*m_printer); });
    OpenDialog(dialog);
}

void CMainFrame::OnPrintPreview()
{
    auto *preview = new QPrintPreviewDialog(m_printer.get(), this);
    preview->setWindowTitle(tr("Print Preview"));
    // Each rendering of the preview is a new job: it reloads the log, so the current run shows
    // with the time the preview was drawn.
    connect(preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter *printer) { printLog(*printer); });
    preview->resize(size() * 0.9);
    OpenDialog(preview);
}

void CMainFrame::OnPrintSetup()
{
    OpenDialog(new QPageSetupDialog(m_printer.get(), this));
}

void CMainFrame::OnPrintOptions()
{
    OpenDialog(new DlgLogOpts(m_context.program.settings,
                              m_context.program.folders.data / kPracticeLogFileName, this));
}

void CMainFrame::OnAbout()
{
    OpenDialog(new CAboutDlg(this));
}

void CMainFrame::OnHelp()
{
    if (!m_help) {
        m_help = new HelpWindow(this); // a child of the window till it is closed
        m_help->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

} // namespace corvane
