#include "CMainFrame.h"
#include "CSplashWnd.h"
#include "CTonrikApp.h"
#include "PracticeClocks.h"
#include "AnalyzerPreferences.h"
#include "AudioFacade.h"
#include "ProgramState.h"
#include "RecordingWindow.h"
#include "ScriptedMessageService.h"
#include "TempDir.h"
#include "VirtualBackend.h"
#include "WaveFixtures.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

using namespace corvane;
using Command = CMainFrame::Command;

namespace {

// A view that records what the window asks of it.
struct RecordingView final : FrameView
{
    bool startPlayback(bool loop) override
    {
        starts.push_back(loop);
        return canPlay;
    }
    void stopPlayback() override { ++stops; }
    void setPlaybackVolume(float v) override { volume = v; }
    void panesChanged(std::uint32_t p) override { panes = p; }
    void zoomChanged(int level) override { zoom = level; }
    void tunerClosed(TunerOutcome how) override { closings.push_back(how); }

    bool canPlay = true;
    std::vector<bool> starts;
    int stops = 0;
    float volume = -1.0f;
    std::uint32_t panes = 0;
    int zoom = -1;
    std::vector<TunerOutcome> closings;
};

// Stands in for the tuner window: counts openings and keeps the closing callback.
struct TunerStub
{
    CMainFrame::TunerOpener opener()
    {
        return [this](QWidget *, bool recording, std::function<void(TunerOutcome)> closed) {
            openings.push_back(recording);
            this->closed = std::move(closed);
            if (failDevices)
                this->closed(TunerOutcome::Canceled);
        };
    }
    std::vector<bool> openings;
    std::function<void(TunerOutcome)> closed;
    bool failDevices = false;
};

class MainFrame : public ::testing::Test
{
protected:
    void SetUp() override { CSplashWnd::EnableSplashScreen(false); }

    ProgramState program;
    PracticeClocks clocks;
    CTCDefs &settings = program.settings;
    CMainFrame frame { { program, clocks } };
};

} // namespace

TEST_F(MainFrame, AsksForTheTunerByItselfOnceTheEventLoopRuns)
{
    TunerStub tuner;
    frame.setTunerOpener(tuner.opener());
    EXPECT_TRUE(tuner.openings.empty());
    QApplication::processEvents();
    ASSERT_EQ(tuner.openings, std::vector<bool> { false });

    // While it is open neither tuner command starts a second one.
    EXPECT_FALSE(frame.action(Command::TunerOnly)->isEnabled());
    frame.action(Command::Capture)->trigger();
    EXPECT_EQ(tuner.openings.size(), 1u);

    // The tuner changed the volume; the option bar follows once it closes.
    settings.SetVolume(0.5f);
    RecordingView view;
    frame.setView(&view);
    tuner.closed(TunerOutcome::ReviewRecording);
    EXPECT_EQ(view.closings, std::vector<TunerOutcome> { TunerOutcome::ReviewRecording });
    EXPECT_EQ(frame.volumeSlider()->value(), 20);
    EXPECT_TRUE(frame.action(Command::Capture)->isEnabled());
    frame.action(Command::Capture)->trigger();
    EXPECT_EQ(tuner.openings, (std::vector<bool> { false, true }));
}

TEST_F(MainFrame, ATunerWhoseDevicesFailLeavesTheWindowUsable)
{
    TunerStub tuner;
    tuner.failDevices = true;
    frame.setTunerOpener(tuner.opener());
    QApplication::processEvents();
    ASSERT_EQ(tuner.openings.size(), 1u);
    EXPECT_TRUE(frame.action(Command::TunerOnly)->isEnabled());
    EXPECT_TRUE(frame.action(Command::ConfigureSound)->isEnabled());
    EXPECT_TRUE(frame.isEnabled());
}

TEST_F(MainFrame, WithoutTunerOrViewTheirCommandsAreDisabled)
{
    QApplication::processEvents();
    for (Command c : { Command::TunerOnly, Command::Capture, Command::Play, Command::Loop })
        EXPECT_FALSE(frame.action(c)->isEnabled()) << int(c);
    EXPECT_TRUE(frame.action(Command::PrintPreview)->isEnabled());
    EXPECT_TRUE(frame.action(Command::About)->isEnabled());
}

TEST_F(MainFrame, PlayAndLoopGrayTheTunerAndEachOther)
{
    TunerStub tuner;
    frame.setTunerOpener(tuner.opener());
    RecordingView view;
    frame.setView(&view);
    tuner.failDevices = true;
    QApplication::processEvents(); // the tuner at start-up opens and closes

    frame.action(Command::Play)->trigger();
    EXPECT_EQ(view.starts, std::vector<bool> { false });
    EXPECT_TRUE(frame.action(Command::Play)->isChecked());
    for (Command c : { Command::TunerOnly, Command::Capture, Command::Loop })
        EXPECT_FALSE(frame.action(c)->isEnabled()) << int(c);
    frame.action(Command::TunerOnly)->trigger();
    EXPECT_EQ(tuner.openings.size(), 1u);

    frame.volumeSlider()->setValue(10);
    EXPECT_FLOAT_EQ(view.volume, 0.25f);
    EXPECT_FLOAT_EQ(settings.GetVolume(), 0.25f);

    frame.action(Command::Play)->trigger();
    EXPECT_EQ(view.stops, 1);
    EXPECT_FALSE(frame.action(Command::Play)->isChecked());
    EXPECT_TRUE(frame.action(Command::TunerOnly)->isEnabled());

    frame.action(Command::Loop)->trigger();
    EXPECT_EQ(view.starts, (std::vector<bool> { false, true }));
    EXPECT_FALSE(frame.action(Command::Play)->isEnabled());
    // The end of the recording ends looping too.
    frame.playbackEnded();
    EXPECT_FALSE(frame.action(Command::Loop)->isChecked());
    EXPECT_TRUE(frame.action(Command::Capture)->isEnabled());

    // Nothing to play: the button does not stay down.
    view.canPlay = false;
    frame.action(Command::Play)->trigger();
    EXPECT_FALSE(frame.action(Command::Play)->isChecked());
    EXPECT_TRUE(frame.action(Command::TunerOnly)->isEnabled());
}

TEST_F(MainFrame, PaneTogglesKeepSettingsMenuAndOptionBarInStep)
{
    RecordingView view;
    frame.setView(&view);
    const std::uint32_t before = settings.GetViewPanes();
    EXPECT_EQ(frame.action(Command::ViewNotes)->isChecked(), bool(before & 1));
    QToolButton *wave = frame.paneButton(3);
    EXPECT_EQ(wave->text(), QStringLiteral("View Wave"));

    wave->click();
    EXPECT_EQ(settings.GetViewPanes(), before ^ 8u);
    EXPECT_EQ(view.panes, before ^ 8u);
    EXPECT_TRUE(frame.action(Command::ViewWave)->isChecked());
    EXPECT_TRUE(wave->isChecked());

    frame.action(Command::ViewWave)->trigger();
    EXPECT_EQ(settings.GetViewPanes(), before);
    EXPECT_FALSE(frame.action(Command::ViewWave)->isChecked());
    EXPECT_FALSE(wave->isChecked());
}

TEST_F(MainFrame, RestoreDefaultSettingsAsksThenRestoresEveryFieldTheDevicesAndTheModeAndSaysSo)
{
    const test::TempWorkingDir dir;
    widgets::ScriptedMessageService boxes;
    const widgets::MessageServiceOverride useBoxes(boxes);
    RecordingView view;
    frame.setView(&view);
    settings.SetViewPanes(63);
    settings.SetVolume(0.25f);
    settings.SetClef(3);
    settings.SetReferenceHz(415.0f);
    program.noteTable.SetReference(415.0);
    program.keys = KeyContext(settings);
    program.keys.SetKey(9);
    audio::setCaptureDevice(audio::VirtualBackend::captureDeviceId());
    AnalyzerPreferences classic;
    classic.classic = true;
    ASSERT_TRUE(classic.save());

    boxes.answers = { widgets::MessageService::Answer::Cancel };
    frame.action(Command::RestoreDefaults)->trigger();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QString::fromLatin1(CMainFrame::kRestoreDefaultsQuestion));
    EXPECT_EQ(settings.GetClef(), 3u) << "cancelled: nothing changes";

    frame.action(Command::RestoreDefaults)->trigger();
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[2].text, QString::fromLatin1(CMainFrame::kDefaultsRestoredMessage));
    EXPECT_EQ(settings, CTCDefs());
    EXPECT_EQ(program.noteTable.Reference(), 440.0);
    EXPECT_EQ(program.keys.Clef(), 0);
    EXPECT_EQ(program.keys.Key(), 9) << "the written key is the piece's, not a setting";
    EXPECT_EQ(audio::captureDevice(), std::nullopt);
    EXPECT_FALSE(AnalyzerPreferences::load().classic);
    EXPECT_EQ(view.panes, CTCDefs().GetViewPanes());
    EXPECT_EQ(frame.volumeSlider()->value(), 32) << "the volume slider shows 0.8";
    EXPECT_EQ(frame.action(Command::ViewWave)->isChecked(), bool(CTCDefs().GetViewPanes() & 8));
}

TEST(Program, AFolderThatCannotBeWrittenIsNamedWithTheCause)
{
    EXPECT_EQ(CTonrikApp::FolderProblem("."), "");
    const std::string said = CTonrikApp::FolderProblem("/no/such/folder");
    EXPECT_EQ(said.rfind("Corvane cannot write in the folder \"/no/such/folder\" (No such file or "
                         "directory)",
                         0),
              0u)
            << said;
    EXPECT_NE(said.find("\"tonrik.def\""), std::string::npos);
}

TEST_F(MainFrame, TheTakesOfThisSessionCanBeOpenedFromTheTunerMenu)
{
    const test::TempWorkingDir dir;
    QMenu *takes = frame.findChild<QMenu *>(QStringLiteral("takesMenu"));
    ASSERT_NE(takes, nullptr);
    emit takes->aboutToShow();
    ASSERT_EQ(takes->actions().size(), 1);
    EXPECT_FALSE(takes->actions()[0]->isEnabled()) << "none recorded yet";

    for (const char *name : { "tune0000.wav", "tune0001.wav" })
        test::writeWave(name, test::WaveHeader {},
                        test::pcmBytes(test::tone(440.0, 1.0, 11025), 1, 16));
    emit takes->aboutToShow();
    ASSERT_EQ(takes->actions().size(), 2);
    EXPECT_EQ(takes->actions()[1]->text(), QStringLiteral("tune0001.wav"));
    takes->actions()[1]->trigger();
    EXPECT_TRUE(frame.recordingWindow()->title().contains(QStringLiteral("tune0001")));
    EXPECT_TRUE(frame.recordingWindow()->fileState().unsaved()) << "a take, until saved";
}

TEST_F(MainFrame, ZoomStopsAtItsLimitsAndTellsTheView)
{
    RecordingView view;
    frame.setView(&view);
    for (int i = 0; i < 13; ++i)
        frame.action(Command::ZoomOut)->trigger();
    EXPECT_EQ(frame.state().zoom(), 0);
    EXPECT_EQ(view.zoom, 0);
    EXPECT_FALSE(frame.action(Command::ZoomOut)->isEnabled());
    for (int i = 0; i < 20; ++i)
        frame.action(Command::ZoomIn)->trigger();
    EXPECT_EQ(frame.state().zoom(), 16);
    EXPECT_FALSE(frame.action(Command::ZoomIn)->isEnabled());
}

TEST_F(MainFrame, BarsMenusAndShortcutsAreInPlace)
{
    QStringList tools;
    for (QAction *a : frame.toolBar()->actions())
        tools << (a->isSeparator() ? QStringLiteral("|") : a->iconText());
    EXPECT_EQ(tools.join(QLatin1Char(',')).toStdString(),
              "Tuner only,Capture,Play,Loop,|,Zoom In,Zoom Out,|,Print Preview");
    for (QAction *a : frame.toolBar()->actions()) {
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().isNull()) << a->iconText().toStdString();
        }
    }
    EXPECT_EQ(frame.action(Command::PrintLog)->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    EXPECT_EQ(frame.action(Command::Play)->shortcut(), QKeySequence(Qt::Key_Space));
    EXPECT_EQ(frame.action(Command::PrintOptions)->text(), QStringLiteral("Prin&t Options..."));
    EXPECT_EQ(frame.action(Command::About)->text(), QStringLiteral("&About Corvane..."));
    EXPECT_EQ(frame.volumeSlider()->maximum(), 40);
    EXPECT_FALSE(frame.volumeSlider()->invertedAppearance()) << "loud at the top";
    // Each menu's keyboard letters are its own: Alt and a letter reach one entry.
    for (QAction *menu : frame.menuBar()->actions()) {
        std::set<QChar> letters;
        for (QAction *entry : menu->menu()->actions()) {
            const QString text = entry->text();
            const qsizetype at = text.indexOf(QLatin1Char('&'));
            if (at < 0 || at + 1 >= text.size() || text[at + 1] == QLatin1Char('&'))
                continue;
            EXPECT_TRUE(letters.insert(text[at + 1].toLower()).second)
                    << menu->text().toStdString() << ": " << text.toStdString();
        }
    }
    EXPECT_EQ(frame.volumeSlider()->value(), 32); // 0.8 of full volume
    frame.show();
    ASSERT_TRUE(frame.optionBar()->isVisible());
    if (const char *docs = std::getenv("CORVANE_DOCS_DIR")) {
        frame.resize(960, 560);
        QApplication::processEvents();
        frame.grab().save(QString::fromLocal8Bit(docs) + QStringLiteral("/main-window.png"));
    }
    frame.action(Command::OptionBar)->trigger();
    EXPECT_FALSE(frame.optionBar()->isVisible());
    frame.action(Command::StatusBar)->trigger();
    EXPECT_FALSE(frame.statusBar()->isVisible());
}

TEST(Program, StartsTunesAndLeavesItsSettingsAndLogLine)
{
    const test::TempWorkingDir dir;
    // The profile goes to the test's own folder.
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.path().string()));
    TunerStub tuner;
    ProgramState program;
    PracticeClocks clocks;
    {
        CTonrikApp application(program, clocks);
        ASSERT_TRUE(application.InitInstance({}, tuner.opener()));
        EXPECT_TRUE(application.running());
        EXPECT_TRUE(application.mainFrame()->windowState() & Qt::WindowMaximized);
        EXPECT_TRUE(std::filesystem::exists("tonrik.def")); // created when missing
        EXPECT_NE(CSplashWnd::current(), nullptr);
        QApplication::processEvents();
        EXPECT_EQ(tuner.openings, std::vector<bool> { false });
        program.settings.SetViewPanes(63);
        application.ExitInstance();
        EXPECT_FALSE(application.running());
    }
    EXPECT_EQ(std::filesystem::file_size("tonrik.def"), kDefaultsFileBytes);
    CTCDefs saved;
    ASSERT_EQ(saved.LoadDefaultsFile({}), DefaultsFileStatus::Loaded);
    EXPECT_EQ(saved.GetViewPanes(), 63u);

    std::ifstream log("corvlog.txt");
    long long start = 0, end = 0, active = -1;
    ASSERT_TRUE(log >> start >> end >> active);
    EXPECT_LE(start, end);
    EXPECT_EQ(active, 0);
    std::string more;
    EXPECT_FALSE(log >> more) << "one line per run";
}
