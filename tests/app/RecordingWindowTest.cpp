// The recording in the main window, offscreen: opening, saving, the recent files, the tuner's
// takes and the questions before one is dropped, export, copy, help, start-up with a file and
// playback on the virtual devices.

#include "BlockLength.h"
#include "AudioDevices.h"
#include "AudioFacade.h"
#include "CMainFrame.h"
#include "CPitch.h"
#include "CSplashWnd.h"
#include "CTonrikApp.h"
#include "CTonrikDoc.h"
#include "CTonrikView.h"
#include "DarkPalette.h"
#include "CTuner.h"
#include "CsvText.h"
#include "DlgIntonationSummary.h"
#include "FileChooser.h"
#include "HelpWindow.h"
#include "OverviewStrip.h"
#include "PracticeClocks.h"
#include "ProgramState.h"
#include "RecentFileList.h"
#include "RecordingWindow.h"
#include "RulerStrip.h"
#include "ScriptedFileChooser.h"
#include "ScriptedMessageService.h"
#include "TempDir.h"
#include "VirtualToneDevices.h"
#include "VirtualBackend.h"
#include "WaveFixtures.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QTableWidget>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <cstring>
#include <fstream>
#include <sstream>

using namespace corvane;
using Command = CMainFrame::Command;
using Answer = widgets::MessageService::Answer;

namespace {

constexpr uint32_t kRate = 11025;

// Stands in for the tuner window: keeps the closing callback for the test to call.
struct TunerStub
{
    CMainFrame::TunerOpener opener()
    {
        return [this](QWidget *, bool, std::function<void(TunerOutcome)> closed) {
            ++openings;
            this->closed = std::move(closed);
        };
    }
    int openings = 0;
    std::function<void(TunerOutcome)> closed;
};

// C4, E4, G4, C5, each half a second after a quarter second of rest, `repeats` times.
std::vector<double> melody(int repeats = 1)
{
    std::vector<double> frames;
    for (int r = 0; r < repeats; ++r) {
        for (int note : { 39, 43, 46, 51 }) {
            test::append(frames, test::silence(0.25, kRate));
            test::append(frames, test::tone(CPitch().NoteFreq(note), 0.5, kRate));
        }
    }
    test::append(frames, test::silence(0.25, kRate));
    return frames;
}

class RecordingWindowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // The recent-file list goes to a profile of the tests' own, set before Qt first reads
        // its settings paths.
        static const test::TempDir profile;
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(profile.path().string()));
    }

    RecordingWindowTest()
        : m_useBoxes(boxes)
        , m_useChooser(chooser)
    {
        CSplashWnd::EnableSplashScreen(false);
        program.settings.SetCaptureFormat(SampleFormat { 1, kRate, 16 });
        RecentFileList recent;
        for (const QString &file : recent.files())
            recent.remove(file);
        frame = std::make_unique<CMainFrame>(CMainFrame::Context { program, clocks });
    }

    std::filesystem::path writeMelody(const std::string &name, int repeats = 1)
    {
        const std::filesystem::path path = dir.path() / name;
        test::writeWave(path, test::waveHeader(1, kRate), test::pcmBytes(melody(repeats), 1, 16));
        return path;
    }

    static QString q(const std::filesystem::path &path)
    {
        return QString::fromStdString(path.string());
    }

    RecordingWindow &recording() { return *frame->recordingWindow(); }
    QString title() const { return frame->windowTitle(); }
    bool enabled(Command c) const { return frame->action(c)->isEnabled(); }

    // Opens the tuner as start-up does and closes it with `how`.
    void tunerCloses(TunerStub &tuner, TunerOutcome how)
    {
        if (!tuner.closed) {
            frame->setTunerOpener(tuner.opener());
            QApplication::processEvents(); // start-up asks for it, unless that has passed
        }
        if (tuner.closed || tuner.openings == 0)
            frame->action(Command::TunerOnly)->trigger();
        ASSERT_TRUE(tuner.closed);
        tuner.closed(how);
    }

    // What the tuner leaves in the capture ring after hearing the melody.
    static void fillCaptureRing()
    {
        BlockRing &ring = audio::captureRing();
        ring.resize(1024 * 2, 64);
        const std::vector<uint8_t> bytes = test::pcmBytes(melody(), 1, 16);
        int32_t writer = ring.newestIndex();
        for (std::size_t at = 0; at + 2048 <= bytes.size(); at += 2048) {
            std::memcpy(ring.blockAddress(writer), bytes.data() + at, 2048);
            ring.advance(writer);
        }
    }

    const test::TempWorkingDir dir;
    widgets::ScriptedMessageService boxes;
    test::ScriptedFileChooser chooser;
    ProgramState program;
    PracticeClocks clocks;
    std::unique_ptr<CMainFrame> frame;

private:
    widgets::MessageServiceOverride m_useBoxes;
    FileChooserOverride m_useChooser;
};

} // namespace

TEST_F(RecordingWindowTest, OpenShowsTheRecordingAndItsNameAndEnablesPlayback)
{
    EXPECT_EQ(frame->centralWidget(), &recording());
    EXPECT_EQ(title(), QStringLiteral("Untitled - Corvane"));
    for (Command c :
         { Command::Play, Command::Loop, Command::Save, Command::Export, Command::Copy })
        EXPECT_FALSE(enabled(c)) << int(c);
    EXPECT_TRUE(enabled(Command::Open));

    const auto path = writeMelody("melody.wav");
    chooser.answers = { q(path) };
    frame->action(Command::Open)->trigger();
    ASSERT_TRUE(recording().hasRecording());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(title(), QStringLiteral("melody.wav - Corvane"));
    EXPECT_GT(recording().view().axis().sampleCount(), 0);
    for (Command c :
         { Command::Play, Command::Loop, Command::SaveAs, Command::Export, Command::Copy })
        EXPECT_TRUE(enabled(c)) << int(c);
    // Saving a file that was just opened could only rewrite it as the analysis's mono copy.
    EXPECT_FALSE(enabled(Command::Save));
    ASSERT_TRUE(frame->recentFileAction(0)->isVisible());
    EXPECT_EQ(frame->recentFileAction(0)->data().toString(), q(path));
    EXPECT_FALSE(frame->recentFileAction(1)->isVisible());

    // A file on disk goes without a question.
    frame->action(Command::Close)->trigger();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(recording().hasRecording());
    EXPECT_EQ(title(), QStringLiteral("Untitled - Corvane"));
    EXPECT_FALSE(enabled(Command::Play));

    frame->recentFileAction(0)->trigger();
    EXPECT_TRUE(recording().hasRecording());
    EXPECT_EQ(title(), QStringLiteral("melody.wav - Corvane"));
}

TEST_F(RecordingWindowTest, AFileThatCannotBeOpenedKeepsWhatWasShownAndLeavesTheRecentList)
{
    const auto path = writeMelody("melody.wav");
    ASSERT_TRUE(recording().openFile(q(path)));
    const auto gone = writeMelody("gone.wav");
    ASSERT_TRUE(recording().openFile(q(gone)));
    ASSERT_TRUE(recording().openFile(q(path)));
    std::filesystem::remove(gone);
    ASSERT_EQ(RecentFileList().files().size(), 2);

    frame->recentFileAction(1)->trigger();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].icon, widgets::MessageService::Icon::Stop);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("gone.wav")));
    EXPECT_TRUE(recording().hasRecording());
    EXPECT_EQ(title(), QStringLiteral("melody.wav - Corvane"));
    EXPECT_EQ(RecentFileList().files(), QStringList { q(path) });
    EXPECT_FALSE(frame->recentFileAction(1)->isVisible());

    // Not a wave file at all: the same, and the file stays in the list, for it is still there.
    std::ofstream(dir.path() / "notes.wav") << "some text, not a recording\n";
    EXPECT_FALSE(recording().openFile(q(dir.path() / "notes.wav")));
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(recording().hasRecording());
}

TEST_F(RecordingWindowTest, AFailedSaveKeepsTheNameAndTheRecentList)
{
    const auto path = writeMelody("melody.wav");
    ASSERT_TRUE(recording().openFile(q(path)));
    const QStringList recent = RecentFileList().files();

    // A folder that is not there, and one that is a file: neither can take the recording.
    for (const auto &target :
         { dir.path() / "no-such-folder" / "copy.wav", dir.path() / "melody.wav" / "copy.wav" }) {
        boxes.shown.clear();
        chooser.answers = { q(target) };
        frame->action(Command::SaveAs)->trigger();
        ASSERT_EQ(boxes.shown.size(), 1u) << target;
        EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("Unable to open file.\n")));
        EXPECT_TRUE(boxes.shown[0].text.contains(q(target)));
        EXPECT_EQ(title(), QStringLiteral("melody.wav - Corvane"));
        EXPECT_EQ(recording().document().pathName(), q(path));
        EXPECT_EQ(RecentFileList().files(), recent);
        EXPECT_FALSE(std::filesystem::exists(target));
    }

    // A bare name becomes a wave file, and the document takes its name.
    chooser.answers = { q(dir.path() / "copy") };
    frame->action(Command::SaveAs)->trigger();
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "copy.wav"));
    EXPECT_EQ(title(), QStringLiteral("copy.wav - Corvane"));
    EXPECT_EQ(RecentFileList().files().value(0), q(dir.path() / "copy.wav"));

    // It is in that file now: Save has nothing to do, and does not rewrite it.
    EXPECT_FALSE(enabled(Command::Save));
    const auto written = std::filesystem::last_write_time(dir.path() / "copy.wav");
    EXPECT_TRUE(recording().save());
    EXPECT_EQ(std::filesystem::last_write_time(dir.path() / "copy.wav"), written);
    EXPECT_EQ(chooser.asked.size(), 3);
}

TEST_F(RecordingWindowTest, ATakeFromTheTunerIsNotDroppedWithoutAsking)
{
    fillCaptureRing();
    TunerStub tuner;
    tunerCloses(tuner, TunerOutcome::ReviewLastSeconds);
    ASSERT_TRUE(recording().hasRecording());
    EXPECT_TRUE(recording().fileState().unsaved());
    EXPECT_EQ(title(), QStringLiteral("Untitled - Corvane"));
    EXPECT_TRUE(enabled(Command::Play));
    EXPECT_TRUE(enabled(Command::Save));
    EXPECT_TRUE(boxes.shown.empty());

    // Cancel keeps it, for New, Open and closing the window alike.
    boxes.answers = { Answer::Cancel, Answer::Cancel, Answer::Cancel };
    frame->action(Command::New)->trigger();
    frame->action(Command::Open)->trigger();
    frame->show();
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Save changes to Untitled?"));
    EXPECT_EQ(boxes.shown[0].buttons, widgets::MessageService::Buttons::YesNoCancel);
    EXPECT_TRUE(chooser.asked.isEmpty());
    EXPECT_TRUE(recording().hasRecording());

    // Yes, then a canceled name: still kept.
    boxes.answers = { Answer::Yes };
    frame->action(Command::New)->trigger();
    EXPECT_EQ(chooser.asked, QStringList { QStringLiteral("Save As") });
    EXPECT_EQ(chooser.suggestions, QStringList { QStringLiteral("Untitled.wav") });
    EXPECT_TRUE(recording().hasRecording());

    // Yes with a name: saved, then the new document.
    const int32_t captured = recording().document().sampleCount();
    EXPECT_EQ(captured, 34 * 1024 / hopLengthForRate(kRate)); // the hops of 3.25 seconds
    boxes.answers = { Answer::Yes };
    chooser.answers = { q(dir.path() / "take.wav") };
    frame->action(Command::New)->trigger();
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "take.wav"));
    EXPECT_FALSE(recording().hasRecording());
    EXPECT_EQ(title(), QStringLiteral("Untitled - Corvane"));

    // The saved take opens with the length it was captured with.
    ASSERT_TRUE(recording().openFile(q(dir.path() / "take.wav")));
    EXPECT_EQ(recording().document().sampleCount(), captured);

    // The next take asks too; No lets the old one go.
    tunerCloses(tuner, TunerOutcome::ReviewLastSeconds);
    boxes.shown.clear();
    boxes.answers = { Answer::No };
    tunerCloses(tuner, TunerOutcome::ReviewLastSeconds);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(recording().fileState().unsaved());
    boxes.answers = { Answer::No };
    EXPECT_TRUE(frame->close());
}

TEST_F(RecordingWindowTest, SecondsHeardInAnotherFormatMakeNoTakeToAskAbout)
{
    fillCaptureRing();
    program.settings.SetCaptureFormat(
            SampleFormat { 1, 22050, 16 }); // changed since the tuner heard them
    TunerStub tuner;
    tunerCloses(tuner, TunerOutcome::ReviewLastSeconds);
    EXPECT_EQ(recording().document().sampleCount(), 0);
    EXPECT_FALSE(recording().fileState().unsaved());
    EXPECT_FALSE(enabled(Command::Save));
    frame->action(Command::New)->trigger();
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RecordingWindowTest, TheTunersRecordingOpensAsAnUnsavedTakeOutsideTheRecentList)
{
    writeMelody(audio::AudioDevices::kRecordingFileName);
    TunerStub tuner;
    tunerCloses(tuner, TunerOutcome::ReviewRecording);
    ASSERT_TRUE(recording().hasRecording());
    EXPECT_TRUE(recording().fileState().unsaved());
    EXPECT_TRUE(RecentFileList().files().isEmpty());

    // The next take overwrites that file, so Save asks for a name of its own.
    frame->action(Command::Save)->trigger();
    EXPECT_EQ(chooser.asked, QStringList { QStringLiteral("Save As") });

    // The tuner's Exit empties the window, but not before asking.
    boxes.answers = { Answer::Cancel };
    tunerCloses(tuner, TunerOutcome::Exit);
    EXPECT_TRUE(recording().hasRecording());
    boxes.answers = { Answer::No };
    tunerCloses(tuner, TunerOutcome::Exit);
    EXPECT_FALSE(recording().hasRecording());

    // A canceled tuner leaves the window as it was, with nothing to ask.
    boxes.shown.clear();
    tunerCloses(tuner, TunerOutcome::Canceled);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(enabled(Command::TunerOnly));

    // Saved under a name of its own, the take is kept: it joins the recent files and Save has
    // nothing more to do.
    tunerCloses(tuner, TunerOutcome::ReviewRecording);
    chooser.answers = { q(dir.path() / "kept.wav") };
    frame->action(Command::Save)->trigger();
    EXPECT_EQ(title(), QStringLiteral("kept.wav - Corvane"));
    EXPECT_EQ(RecentFileList().files(), QStringList { q(dir.path() / "kept.wav") });
    EXPECT_FALSE(enabled(Command::Save));
    EXPECT_FALSE(recording().fileState().unsaved());
}

TEST_F(RecordingWindowTest, ExportWritesTheNotesAsCsvAndThePanesAsPicturesBySuffix)
{
    ASSERT_TRUE(recording().openFile(q(writeMelody("melody.wav"))));

    chooser.answers = { q(dir.path() / "melody-notes.csv") };
    frame->action(Command::Export)->trigger();
    EXPECT_EQ(chooser.suggestions, QStringList { QStringLiteral("melody.csv") });
    const std::string csv = test::fileText(dir.path() / "melody-notes.csv");
    // Plain CSV, as `tonrik --analyze --notes` prints it.
    EXPECT_EQ(csv.rfind("start_s,duration_s,note,mean_cents,rest,unstable\n", 0), 0u);
    std::size_t at = 0;
    for (const char *note : { ",C4,", ",E4,", ",G4,", ",C5," }) {
        at = csv.find(note, at);
        ASSERT_NE(at, std::string::npos) << note << " in order in\n" << csv;
    }

    // A name without a suffix takes the kind the user picked.
    chooser.filter = QStringLiteral("Picture (*.png)");
    chooser.answers = { q(dir.path() / "panes") };
    frame->action(Command::Export)->trigger();
    const QImage picture(q(dir.path() / "panes.png"));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.width(), recording().view().viewport()->width());

    chooser.answers = { q(dir.path() / "panes.pdf") };
    frame->action(Command::Export)->trigger();
    EXPECT_EQ(test::fileText(dir.path() / "panes.pdf").rfind("%PDF", 0), 0u);
    EXPECT_TRUE(boxes.shown.empty());

    chooser.answers = { q(dir.path() / "panes.txt") };
    frame->action(Command::Export)->trigger();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].icon, widgets::MessageService::Icon::Stop);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "panes.txt"));
}

TEST_F(RecordingWindowTest, CopyPutsThePanesAndTheSelectedNotesOnTheClipboard)
{
    ASSERT_TRUE(recording().openFile(q(writeMelody("melody.wav"))));
    frame->resize(1000, 700);
    frame->show();
    QApplication::processEvents();

    frame->action(Command::Copy)->trigger();
    const QMimeData *all = QApplication::clipboard()->mimeData();
    ASSERT_NE(all, nullptr);
    EXPECT_TRUE(all->hasImage());
    const QString everything = all->text();
    EXPECT_TRUE(everything.contains(QStringLiteral(",C4,")));
    EXPECT_TRUE(everything.contains(QStringLiteral(",C5,")));

    // A selection of the first second holds the first note and not the last.
    CTonrikView &view = recording().view();
    const double blocksPerSecond = kRate / double(hopLengthForRate(kRate));
    const int from = view.axis().xOfBlock(view.axis().firstVisibleBlock());
    const int to = view.axis().xOfBlock(static_cast<int32_t>(blocksPerSecond));
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(from + 1, 40));
    QTest::mouseMove(view.viewport(), QPoint(to, 40));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(to, 40));
    ASSERT_FALSE(view.selection().empty());
    frame->action(Command::Copy)->trigger();
    const QString selected = QApplication::clipboard()->mimeData()->text();
    EXPECT_TRUE(selected.contains(QStringLiteral(",C4,"))) << selected.toStdString();
    EXPECT_FALSE(selected.contains(QStringLiteral(",C5,"))) << selected.toStdString();
}

TEST_F(RecordingWindowTest, WhileAFileIsAnalyzedTheCommandsThatWouldChangeItWait)
{
    TunerStub tuner;
    tunerCloses(tuner, TunerOutcome::Canceled);
    ASSERT_TRUE(recording().openFile(q(writeMelody("first.wav"))));
    const auto path = writeMelody("second.wav", 4);
    bool checked = false;
    // Runs inside the analysis's own event loop, before the worker's end is handled.
    QTimer::singleShot(0, frame.get(), [&] {
        checked = true;
        EXPECT_TRUE(recording().busy());
        for (Command c : { Command::New, Command::Open, Command::Save, Command::Export,
                           Command::TunerOnly, Command::Capture, Command::Play })
            EXPECT_FALSE(enabled(c)) << int(c);
        EXPECT_FALSE(frame->recentFileAction(0)->isEnabled());
        EXPECT_FALSE(recording().newDocument());
        EXPECT_FALSE(recording().openFile(q(dir.path() / "first.wav")));
    });
    ASSERT_TRUE(recording().openFile(q(path)));
    EXPECT_TRUE(checked);
    EXPECT_FALSE(recording().busy());
    EXPECT_EQ(title(), QStringLiteral("second.wav - Corvane"));
    for (Command c : { Command::New, Command::Open, Command::TunerOnly, Command::Play })
        EXPECT_TRUE(enabled(c)) << int(c);
}

TEST_F(RecordingWindowTest, PanesAndZoomReachTheView)
{
    CTonrikView &view = recording().view();
    EXPECT_EQ(view.viewPanes(), program.settings.GetViewPanes());
    EXPECT_EQ(view.axis().zoomIndex(), frame->state().zoom());
    frame->action(Command::ZoomIn)->trigger();
    EXPECT_EQ(view.axis().zoomIndex(), TimeAxis::kDefaultZoomIndex + 1);
    frame->action(Command::ViewWave)->trigger();
    EXPECT_EQ(view.viewPanes(), program.settings.GetViewPanes());
    frame->action(Command::ViewWave)->trigger();
    EXPECT_EQ(view.viewPanes(), program.settings.GetViewPanes());
}

TEST_F(RecordingWindowTest, HomeAndEndMoveTheViewToTheRecordingsEndsWhereverTheFocusIs)
{
    std::vector<double> frames = test::silence(0.2, kRate);
    test::append(frames, test::tone(440.0, 3.0, kRate));
    const auto path = dir.path() / "a.wav";
    test::writeWave(path, test::waveHeader(1, kRate), test::pcmBytes(frames, 1, 16));
    TunerStub tuner;
    tunerCloses(tuner, TunerOutcome::Canceled);
    ASSERT_TRUE(recording().openFile(q(path)));
    for (int i = 0; i < 3; ++i)
        frame->action(Command::ZoomIn)->trigger();
    frame->show();
    QApplication::setActiveWindow(frame.get());
    frame->volumeSlider()->setFocus();
    const CTonrikView &view = recording().view();
    ASSERT_GT(view.axis().maxFirstBlock(), 0);
    QTest::keyClick(frame->volumeSlider(), Qt::Key_End);
    EXPECT_EQ(view.axis().firstVisibleBlock(), view.axis().maxFirstBlock());
    QTest::keyClick(frame->volumeSlider(), Qt::Key_Home);
    EXPECT_EQ(view.axis().firstVisibleBlock(), 0);
}

TEST_F(RecordingWindowTest, HelpTopicsShowTheProgramsHelpInOneWindow)
{
    EXPECT_TRUE(enabled(Command::HelpTopics));
    frame->action(Command::HelpTopics)->trigger();
    HelpWindow *help = frame->helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(help->isModal());
    const QString text = help->browser()->toPlainText();
    for (const char *words : { "Tuner only", "Review", "Export...", "Ctrl+O", "--analyze" })
        EXPECT_TRUE(text.contains(QString::fromLatin1(words))) << words;
    frame->action(Command::HelpTopics)->trigger();
    EXPECT_EQ(frame->helpWindow(), help);
    EXPECT_EQ(frame->findChildren<HelpWindow *>().size(), 1);
    if (const char *docs = std::getenv("CORVANE_DOCS_DIR"))
        help->grab().save(QString::fromLocal8Bit(docs) + QStringLiteral("/help-window.png"));
}

TEST_F(RecordingWindowTest, PlayRunsToTheEndOnTheVirtualDeviceAndFreesTheTuner)
{
    using namespace corvane::audio;
    ASSERT_TRUE(recording().openFile(q(writeMelody("melody.wav"))));
    TunerStub tuner;
    tunerCloses(tuner, TunerOutcome::Canceled);
    VirtualBackend::instance().setPacing(VirtualPacing::AsFastAsTaken);
    VirtualBackend::instance().keepPlayed(true);
    setPlaybackDevice(VirtualBackend::playbackDeviceId());

    QSignalSpy ended(&recording(), &RecordingWindow::playbackStopped);
    frame->action(Command::Play)->trigger();
    EXPECT_TRUE(frame->action(Command::Play)->isChecked());
    EXPECT_FALSE(enabled(Command::TunerOnly));
    EXPECT_FALSE(enabled(Command::Loop));
    ASSERT_TRUE(ended.count() > 0 || ended.wait(20000));
    EXPECT_FALSE(frame->action(Command::Play)->isChecked());
    EXPECT_TRUE(enabled(Command::TunerOnly));
    EXPECT_GE(VirtualBackend::instance().played().size(),
              static_cast<std::size_t>(recording().document().sampleCount())
                      * hopLengthForRate(kRate) * 2);
    EXPECT_TRUE(boxes.shown.empty());

    // A device that does not open says why, and nothing stays pressed.
    setPlaybackDevice(DeviceId { VirtualBackend::kHostApi, "nowhere" });
    frame->action(Command::Loop)->trigger();
    EXPECT_FALSE(frame->action(Command::Loop)->isChecked());
    EXPECT_TRUE(enabled(Command::Capture));
    EXPECT_EQ(boxes.shown.size(), 1u);
    setPlaybackDevice(VirtualBackend::playbackDeviceId());
    VirtualBackend::instance().setPacing(VirtualPacing::RealTime);
}

TEST_F(RecordingWindowTest, ATakeRecordedInTheTunerIsShownOnceItCloses)
{
    // The real tuner window on the virtual devices, hearing a steady a' in real time (faster, the
    // tuner would see overruns and restart its devices without the recording, as it should).
    const test::VirtualToneDevices devices(440.0, audio::VirtualPacing::RealTime);
    program.settings.SetPlaybackFormat(SampleFormat { 1, kRate, 16 });
    CTonrikApp application(program, clocks);
    frame->setTunerOpener(application.TunerWindow());
    QApplication::processEvents(); // start-up opens the tuner
    auto *tuner = frame->findChild<tuner::CTuner *>();
    ASSERT_NE(tuner, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tuner));
    // The window starts its devices once it is shown; a click on Record before that would be
    // undone by the start.
    ASSERT_TRUE(tuner->startTuning());

    audio::AudioDevices &audio = audio::AudioDevices::instance();
    QTest::mouseClick(tuner->button(tuner::TunerControl::Record), Qt::LeftButton);
    ASSERT_TRUE(audio.recording());
    // A second of sound into the take.
    const uint64_t from = audio.blocksCaptured();
    ASSERT_TRUE(QTest::qWaitFor([&] { return audio.blocksCaptured() >= from + 11; }, 10000));
    ASSERT_TRUE(audio.recording());
    QTest::mouseClick(tuner->button(tuner::TunerControl::Stop), Qt::LeftButton);
    QTest::mouseClick(tuner->button(tuner::TunerControl::Review), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return recording().hasRecording(); }, 10000));

    EXPECT_TRUE(recording().fileState().unsaved());
    EXPECT_GE(recording().document().sampleCount(), int(kRate) / hopLengthForRate(kRate));
    EXPECT_TRUE(enabled(Command::Play));
    EXPECT_TRUE(enabled(Command::TunerOnly));
    frame->action(Command::Copy)->trigger();
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->text().contains(QStringLiteral(",A4,")));
    EXPECT_TRUE(boxes.shown.empty()) << boxes.shown.front().text.toStdString();
}

TEST_F(RecordingWindowTest, ARecordingNamedAtStartUpOpensInPlaceOfTheTuner)
{
    const auto path = writeMelody("melody.wav");
    TunerStub tuner;
    {
        CTonrikApp application(program, clocks);
        ASSERT_TRUE(application.InitInstance({ path.string() }, tuner.opener()));
        QApplication::processEvents();
        EXPECT_EQ(tuner.openings, 0);
        EXPECT_TRUE(application.mainFrame()->recordingWindow()->hasRecording());
        EXPECT_EQ(application.mainFrame()->windowTitle(), QStringLiteral("melody.wav - Corvane"));
        EXPECT_TRUE(application.mainFrame()->action(Command::TunerOnly)->isEnabled());
    }
    // A file that is not there is said so, and the tuner opens as usual.
    {
        CTonrikApp application(program, clocks);
        ASSERT_TRUE(application.InitInstance({ "missing.wav" }, tuner.opener()));
        QApplication::processEvents();
        EXPECT_EQ(tuner.openings, 1);
        EXPECT_FALSE(application.mainFrame()->recordingWindow()->hasRecording());
        ASSERT_FALSE(boxes.shown.empty());
        EXPECT_TRUE(boxes.shown.back().text.contains(QStringLiteral("missing.wav")));
    }
}

TEST_F(RecordingWindowTest, PictureOfTheWindowWithARecording)
{
    // A C major scale up and down, as a student would play it to check each step.
    std::vector<double> frames = test::silence(0.2, kRate);
    for (int note : { 39, 41, 43, 44, 46, 48, 50, 51, 50, 48, 46, 44, 43, 41, 39 }) {
        test::append(frames, test::tone(program.noteTable.NoteFreq(note), 0.38, kRate));
        test::append(frames, test::silence(0.07, kRate));
    }
    const auto path = dir.path() / "scale.wav";
    test::writeWave(path, test::waveHeader(1, kRate), test::pcmBytes(frames, 1, 16));
    TunerStub tuner;
    tunerCloses(tuner, TunerOutcome::Canceled);
    ASSERT_TRUE(recording().openFile(q(path)));
    for (int pane = 0; pane < 6; ++pane) {
        if (!frame->paneButton(pane)->isChecked())
            frame->paneButton(pane)->click();
    }
    EXPECT_EQ(recording().view().viewPanes(), 63u);
    frame->resize(1200, 860);
    frame->show();
    QApplication::processEvents();
    const QImage picture = frame->grab().toImage();
    ASSERT_FALSE(picture.isNull());
    // The time axis: the overview over the panes, the ruler under them, both drawn in the
    // window's palette.
    CTonrikView &view = recording().view();
    const QRect ruler(view.ruler().mapTo(frame.get(), QPoint(0, 0)), view.ruler().size());
    EXPECT_TRUE(view.overview().isVisible());
    EXPECT_TRUE(view.ruler().isVisible());
    EXPECT_EQ(picture.pixelColor(ruler.left() + 2, ruler.bottom() - 1),
              frame->palette().window().color());

    // The same window on a dark screen: the ruler and the overview follow the palette.
    const QPalette light = QApplication::palette();
    QApplication::setPalette(widgets::darkPalette());
    QApplication::processEvents();
    const QImage darkPicture = frame->grab().toImage();
    QApplication::setPalette(light);
    QApplication::processEvents();
    const QColor ground = darkPicture.pixelColor(ruler.left() + 2, ruler.bottom() - 1);
    EXPECT_LT(ground.value(), 80);
    // Light ink on it: the "Time" label in the label column.
    int ink = 0;
    for (int y = ruler.top(); y < ruler.top() + 20; ++y)
        for (int x = ruler.left() + 40; x < ruler.left() + 100; ++x)
            ink += darkPicture.pixelColor(x, y).value() > 180;
    EXPECT_GT(ink, 10);

    if (const char *docs = std::getenv("CORVANE_DOCS_DIR")) {
        const QString dir = QString::fromLocal8Bit(docs);
        picture.save(dir + QStringLiteral("/main-window-recording.png"));
        darkPicture.save(dir + QStringLiteral("/main-window-recording-dark.png"));
        // At double density, as on a screen at scale 2.
        QPixmap twice(frame->size() * 2);
        twice.setDevicePixelRatio(2);
        frame->render(&twice);
        twice.save(dir + QStringLiteral("/main-window-recording@2x.png"));
    }
}

TEST_F(RecordingWindowTest, TheIntonationSummaryShowsTheSelectionOrTheWholeRecordingAndExports)
{
    // C4 in tune, E4 eight cents sharp, G4 in tune, a second each.
    std::vector<double> frames = test::silence(0.25, kRate);
    for (const auto &[note, cents] : { std::pair { 39, 0.0 }, { 43, 8.0 }, { 46, 0.0 } }) {
        test::append(frames,
                     test::tone(program.noteTable.NoteFreq(note) * std::pow(2.0, cents / 1200), 1.0,
                                kRate));
        test::append(frames, test::silence(0.25, kRate));
    }
    const auto path = dir.path() / "detuned.wav";
    test::writeWave(path, test::waveHeader(1, kRate), test::pcmBytes(frames, 1, 16));
    EXPECT_FALSE(enabled(Command::IntonationSummary)) << "nothing to sum up yet";
    ASSERT_TRUE(recording().openFile(q(path)));
    ASSERT_TRUE(enabled(Command::IntonationSummary));
    frame->resize(1000, 700);
    frame->show();
    QApplication::processEvents();

    const auto rowsOf = [](QDialog *dialog) {
        std::map<std::string, std::pair<long, double>> rows;
        auto *table = static_cast<DlgIntonationSummary *>(dialog)->table();
        for (int r = 0; r < table->rowCount(); ++r)
            rows[table->item(r, 0)->text().toStdString()] = {
                table->item(r, 1)->text().toLong(), table->item(r, 2)->text().toDouble()
            };
        return rows;
    };
    QDialog *whole = recording().showIntonationSummary();
    ASSERT_NE(whole, nullptr);
    EXPECT_TRUE(static_cast<DlgIntonationSummary *>(whole)->scopeLabel()->text().startsWith(
            QStringLiteral("Whole recording")));
    auto rows = rowsOf(whole);
    ASSERT_TRUE(rows.count("E") && rows.count("C") && rows.count("G") && rows.count("E4"));
    EXPECT_NEAR(rows["E"].second, 8.0, 1.0) << "the detuned degree";
    EXPECT_NEAR(rows["C"].second, 0.0, 1.0);
    EXPECT_GE(rows["E"].first, 3) << "the held part of a second";
    if (const char *docs = std::getenv("CORVANE_DOCS_DIR"))
        whole->grab().save(QString::fromLocal8Bit(docs)
                           + QStringLiteral("/intonation-summary-dialog.png"));
    whole->close();

    // A selection of the first second and a half holds the C and none of the E or G.
    CTonrikView &view = recording().view();
    const double blocksPerSecond = kRate / double(hopLengthForRate(kRate));
    const int from = view.axis().xOfBlock(view.axis().firstVisibleBlock());
    const int to = view.axis().xOfBlock(static_cast<int32_t>(1.5 * blocksPerSecond));
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(from + 1, 40));
    QTest::mouseMove(view.viewport(), QPoint(to, 40));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(to, 40));
    ASSERT_FALSE(view.selection().empty());
    QDialog *part = recording().showIntonationSummary();
    ASSERT_NE(part, nullptr);
    rows = rowsOf(part);
    EXPECT_TRUE(rows.count("C"));
    EXPECT_FALSE(rows.count("E") || rows.count("G"));
    part->close();

    // Export writes the summary of the whole recording, as `--summary` prints it.
    chooser.filter = QStringLiteral("Intonation summary (*.summary.csv)");
    chooser.answers = { q(dir.path() / "detuned") };
    frame->action(Command::Export)->trigger();
    const std::string csv = test::fileText(dir.path() / "detuned.summary.csv");
    EXPECT_EQ(csv.rfind("scope,name,count,mean_cents,spread_cents,in_tune_share\n", 0), 0u) << csv;
    EXPECT_NE(csv.find("degree,E,"), std::string::npos) << csv;
}
