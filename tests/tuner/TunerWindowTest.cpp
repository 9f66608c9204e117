// The "Tuner Active" window on the virtual devices: its recording states as the buttons and the
// lamp show them, the ways it closes, its resizing, and what it shows for a tone it hears.

#include "AnalyzerPreferences.h"
#include "AudioDevices.h"
#include "AudioFacade.h"
#include "CTuner.h"
#include "InstrumentPresets.h"
#include "TunerDialogs.h"
#include "TunerWindowRig.h"
#include "UpDownControl.h"
#include "VirtualBackend.h"
#include "WaveRecordingFile.h"
#include "PinwheelWidget.h"
#include "PitchReadoutWidget.h"
#include "cPinwheelIndicator.h"

#include "StandardWaveReaders.h"
#include "TempDir.h"
#include "VirtualToneDevices.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QToolButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

using namespace corvane;
using namespace corvane::tuner;
using namespace corvane::tuner::test;

namespace {

// Counts the dialogs the window asked for; none is shown.
class CountingDialogs final : public TunerDialogs
{
public:
    bool openSoundcard(QWidget *) override { return ++soundcard > 0; }
    bool openOptimize(QWidget *) override
    {
        if (onOptimize)
            onOptimize();
        return ++optimize > 0;
    }
    bool openTranspose(QWidget *) override { return ++transpose > 0; }
    bool openPitchConfig(QWidget *, int degree) override
    {
        pitchDegrees.push_back(degree);
        return true;
    }
    int soundcard = 0;
    int optimize = 0;
    int transpose = 0;
    std::function<void()> onOptimize; // what the user changes in the dialog
    std::vector<int> pitchDegrees;
};

class TunerWindowTest : public ::testing::Test, public TunerWindowRig
{
public:
    explicit TunerWindowTest(double toneHz = 440.0)
        : tone(toneHz)
    {
        audio::setDeviceErrorHandler([this](const std::string &m) { deviceMessages.push_back(m); });
    }
    ~TunerWindowTest() override
    {
        window.reset();
        audio::setDeviceErrorHandler(nullptr);
    }

    CTuner &open(bool record = false)
    {
        window = std::make_unique<CTuner>(context(), record, dialogs);
        QObject::connect(
                window.get(), &CTuner::closed, window.get(),
                [this](TunerClosing how) { delivered.push_back(how); }, Qt::QueuedConnection);
        return *window;
    }

    void click(TunerControl control) { QTest::mouseClick(window->button(control), Qt::LeftButton); }

    // The lamp's color as painted.
    QColor lamp()
    {
        const QImage image = window->grab().toImage();
        const QPoint center((window->layout().rect(TunerControl::Lamp).left
                             + window->layout().rect(TunerControl::Lamp).right)
                                    / 2,
                            (window->layout().rect(TunerControl::Lamp).top
                             + window->layout().rect(TunerControl::Lamp).bottom)
                                    / 2);
        return image.pixelColor(center);
    }

    // What the bottom row shows: Record, Pause, Stop enabled, the pause caption, and the lamp.
    void expectRow(bool record, bool pause, bool stop, const char *pauseCaption, QColor lampColor)
    {
        EXPECT_EQ(window->button(TunerControl::Record)->isEnabled(), record);
        EXPECT_EQ(window->button(TunerControl::Pause)->isEnabled(), pause);
        EXPECT_EQ(window->button(TunerControl::Stop)->isEnabled(), stop);
        EXPECT_EQ(window->button(TunerControl::Pause)->text(), QString::fromLatin1(pauseCaption));
        for (TunerControl always :
             { TunerControl::Review, TunerControl::Cancel, TunerControl::Exit })
            EXPECT_TRUE(window->button(always)->isEnabled());
        EXPECT_EQ(lamp(), lampColor);
    }

    // Display updates, as the timer would give them only faster, until `done` holds.
    bool updateUntil(const std::function<bool()> &done)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            window->tunerUpdate();
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    corvane::test::TempWorkingDir dir;
    corvane::test::VirtualToneDevices tone;
    CountingDialogs dialogs;
    std::vector<std::string> deviceMessages;
    std::vector<TunerClosing> delivered;
    std::unique_ptr<CTuner> window;

    const QColor red { 255, 0, 0 };
    const QColor gray { 127, 127, 127 };
};

// The take's own wave file on a disk that fills up after `room` bytes of sound.
class FillingDiskFile final : public audio::RecordingFile
{
public:
    FillingDiskFile(std::unique_ptr<audio::WaveRecordingFile> file, std::size_t room)
        : m_file(std::move(file))
        , m_room(room)
    {
    }
    bool write(const std::byte *data, std::size_t size, std::size_t &written) noexcept override
    {
        written = 0;
        if (m_taken + size > m_room)
            return false;
        m_taken += size;
        return m_file->write(data, size, written);
    }
    int systemError() const noexcept override { return m_taken > 0 ? ENOSPC : 0; }
    bool finish(uint32_t frames) noexcept override { return m_file->finish(frames); }

private:
    std::unique_ptr<audio::WaveRecordingFile> m_file;
    std::size_t m_room;
    std::size_t m_taken = 0;
};

class LowETunerWindowTest : public TunerWindowTest
{
protected:
    LowETunerWindowTest()
        : TunerWindowTest(centsAway(82.4069, -30.0))
    {
    }
};

// The window's push button with this text, or null.
QPushButton *buttonNamed(QWidget &window, const QString &text)
{
    for (QPushButton *b : window.findChildren<QPushButton *>())
        if (b->text() == text)
            return b;
    return nullptr;
}

} // namespace

TEST_F(TunerWindowTest, RecordPauseResumeStopWalkTheFourStatesWithTheirButtonsAndLamp)
{
    open();
    ASSERT_TRUE(window->startTuning());
    EXPECT_EQ(window->windowTitle(), "Tuner Active");
    expectRow(true, false, false, "Pause", gray);

    click(TunerControl::Record);
    EXPECT_EQ(window->recordingState(), RecordingState::Recording);
    expectRow(false, true, true, "Pause", red);
    EXPECT_TRUE(audio::AudioDevices::instance().recording());

    click(TunerControl::Pause);
    EXPECT_EQ(window->recordingState(), RecordingState::Paused);
    expectRow(false, true, true, "Resume", gray);
    EXPECT_TRUE(audio::AudioDevices::instance().recordingPaused());

    click(TunerControl::Pause);
    EXPECT_EQ(window->recordingState(), RecordingState::Recording);
    expectRow(false, true, true, "Pause", red);
    EXPECT_FALSE(audio::AudioDevices::instance().recordingPaused());

    click(TunerControl::Stop);
    EXPECT_EQ(window->recordingState(), RecordingState::Stopped);
    expectRow(true, false, false, "Pause", gray);
    EXPECT_FALSE(audio::AudioDevices::instance().recording());
    EXPECT_TRUE(audio::AudioDevices::instance().captureOpen()); // still tuning
    EXPECT_TRUE(std::filesystem::exists("tune0000.wav"));

    click(TunerControl::Review);
    QApplication::processEvents();
    EXPECT_EQ(delivered, std::vector { TunerClosing::ReviewRecording });
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(TunerWindowTest, RecordAfterStopStartsTheNextTakeAndLeavesTheLastOneAlone)
{
    open();
    ASSERT_TRUE(window->startTuning());
    click(TunerControl::Record);
    ASSERT_TRUE(updateUntil([] { return audio::AudioDevices::instance().blocksCaptured() > 4; }));
    click(TunerControl::Stop);
    const auto first = std::filesystem::file_size("tune0000.wav");
    EXPECT_GT(first, 44u);
    click(TunerControl::Record);
    ASSERT_TRUE(updateUntil([] { return audio::AudioDevices::instance().blocksCaptured() > 2; }));
    click(TunerControl::Stop);
    EXPECT_EQ(std::filesystem::file_size("tune0000.wav"), first);
    EXPECT_TRUE(std::filesystem::exists("tune0001.wav"));
    // Review opens the last take.
    EXPECT_EQ(audio::lastTakePath(), "tune0001.wav");
    EXPECT_TRUE(messages.shown.empty());
}

// A full disk ends the take where it met it: the lamp goes out, one box names the file and the
// cause, and the take up to there is a valid file.
TEST_F(TunerWindowTest, AFullDiskWhileRecordingEndsTheTakeSaysWhyOnceAndKeepsWhatCameBefore)
{
    const std::size_t room = 3 * 4096 * 2; // three blocks of 4096 frames, mono 16-bit
    audio::AudioDevices::instance().setRecordingFileFactory(
            [room](const std::string &path, const SampleFormat &format,
                   std::string &why) -> std::unique_ptr<audio::RecordingFile> {
                auto file = audio::WaveRecordingFile::create(path, format, why);
                if (!file)
                    return nullptr;
                return std::make_unique<FillingDiskFile>(std::move(file), room);
            });
    open();
    ASSERT_TRUE(window->startTuning());
    click(TunerControl::Record);
    const bool ended =
            updateUntil([this] { return window->recordingState() == RecordingState::Stopped; });
    audio::AudioDevices::instance().setRecordingFileFactory(nullptr);
    ASSERT_TRUE(ended);
    expectRow(true, false, false, "Pause", gray);
    EXPECT_TRUE(audio::AudioDevices::instance().captureOpen()); // still tuning
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("\"tune0000.wav\"")));
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("No space left on device")));
    EXPECT_TRUE(deviceMessages.empty()); // said on screen, not elsewhere
    const auto take = corvane::test::readWithPython("tune0000.wav");
    ASSERT_TRUE(take);
    EXPECT_EQ(take->frames, 3 * 4096);
}

TEST_F(TunerWindowTest, RecordPressedBeforeTheFirstStartRecordsAndTheStartDoesNotUndoIt)
{
    open();
    window->show(); // posts the first start
    click(TunerControl::Record);
    QApplication::processEvents(); // the posted start runs
    EXPECT_EQ(window->recordingState(), RecordingState::Recording);
    EXPECT_TRUE(audio::AudioDevices::instance().recording());
    expectRow(false, true, true, "Pause", red);

    // A device dialog opened before the start leaves the devices running once, without recording.
    window.reset();
    open();
    window->show();
    QPushButton *optimize = buttonNamed(*window, QStringLiteral("Optimize..."));
    ASSERT_NE(optimize, nullptr);
    QTest::mouseClick(optimize, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(dialogs.optimize, 1);
    EXPECT_TRUE(audio::AudioDevices::instance().captureOpen());
    EXPECT_FALSE(audio::AudioDevices::instance().recording());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(TunerWindowTest, OpenedToCaptureRecordsAtOnceAndPauseThenStopEndsInStopped)
{
    open(true);
    ASSERT_TRUE(window->startTuning());
    expectRow(false, true, true, "Pause", red);
    click(TunerControl::Pause);
    click(TunerControl::Stop);
    EXPECT_EQ(window->recordingState(), RecordingState::Stopped);
    EXPECT_TRUE(audio::AudioDevices::instance().captureOpen());
    EXPECT_FALSE(audio::AudioDevices::instance().recording());
}

TEST_F(TunerWindowTest, EveryWayOutIsDeliveredQueuedOnceAndStopsTheDevices)
{
    struct Case
    {
        std::function<void(TunerWindowTest &)> close;
        TunerClosing expected;
    };
    const Case cases[] = {
        { [](TunerWindowTest &t) { t.click(TunerControl::Review); },
          TunerClosing::ReviewWithoutRecording },
        { [](TunerWindowTest &t) { t.click(TunerControl::Cancel); }, TunerClosing::Cancel },
        { [](TunerWindowTest &t) { QTest::keyClick(t.window.get(), Qt::Key_Escape); },
          TunerClosing::Cancel },
        { [](TunerWindowTest &t) { t.click(TunerControl::Exit); }, TunerClosing::Exit },
    };
    for (const Case &c : cases) {
        delivered.clear();
        open();
        window->show();
        ASSERT_TRUE(window->startTuning());
        c.close(*this);
        EXPECT_TRUE(delivered.empty()); // not from inside the click
        QApplication::processEvents();
        EXPECT_EQ(delivered, std::vector { c.expected });
        EXPECT_EQ(window->closing(), c.expected);
        EXPECT_EQ(window->result(), QDialog::Accepted);
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(audio::AudioDevices::instance().captureOpen());
        // A second way out after the first changes nothing.
        static_cast<QDialog *>(window.get())->reject();
        QApplication::processEvents();
        EXPECT_EQ(delivered.size(), 1u);
    }
}

TEST_F(TunerWindowTest, DevicesThatWillNotOpenCloseOnlyTheTunerAsCancelWithTheMessage)
{
    audio::setCaptureDevice(audio::DeviceId { audio::VirtualBackend::kHostApi, "nowhere" });
    open();
    EXPECT_FALSE(window->startTuning());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, TunerEngine::kStartFailedMessage);
    QApplication::processEvents();
    EXPECT_EQ(delivered, std::vector { TunerClosing::Cancel });
}

TEST_F(TunerWindowTest, ARecordingThatCannotStartSaysWhyAndKeepsTuningWithAGrayLamp)
{
    // A folder that takes no file (what is in the way of a take's name is skipped instead).
    audio::AudioDevices::instance().setRecordingFileFactory(
            [](const std::string &, const SampleFormat &, std::string &why) {
                why = "The file cannot be created in the current folder.";
                return std::unique_ptr<audio::RecordingFile>();
            });
    open();
    ASSERT_TRUE(window->startTuning());
    click(TunerControl::Record);
    audio::AudioDevices::instance().setRecordingFileFactory(nullptr);
    EXPECT_EQ(window->recordingState(), RecordingState::Tuning);
    expectRow(true, false, false, "Pause", gray);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith("Unable to create the recording file"));
    EXPECT_TRUE(audio::AudioDevices::instance().captureOpen());
    EXPECT_FALSE(window->closing());
}

TEST_F(TunerWindowTest, TheDeviceDialogsDuringARecordingEndItAsStoppedAndRestartTuning)
{
    open(true);
    ASSERT_TRUE(window->startTuning());
    click(TunerControl::More);
    EXPECT_EQ(window->button(TunerControl::More)->text(), "Less...");
    QPushButton *soundcard = nullptr;
    QPushButton *optimize = nullptr;
    for (QPushButton *b : window->findChildren<QPushButton *>()) {
        if (b->text() == "Soundcard...")
            soundcard = b;
        if (b->text() == "Optimize...")
            optimize = b;
    }
    ASSERT_TRUE(soundcard && optimize && soundcard->isVisibleTo(window.get()));
    QTest::mouseClick(soundcard, Qt::LeftButton);
    EXPECT_EQ(dialogs.soundcard, 1);
    EXPECT_EQ(window->recordingState(), RecordingState::Stopped);
    expectRow(true, false, false, "Pause", gray);
    EXPECT_TRUE(audio::AudioDevices::instance().captureOpen());
    EXPECT_FALSE(audio::AudioDevices::instance().recording());

    // Tuning stays tuning; a format the devices refuse closes the tuner as Cancel.
    settings.SetCaptureFormat({ 1, 44100, 12 });
    QTest::mouseClick(optimize, Qt::LeftButton);
    EXPECT_EQ(dialogs.optimize, 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, TunerEngine::kRestartFailedMessage);
    QApplication::processEvents();
    EXPECT_EQ(delivered, std::vector { TunerClosing::Cancel });
}

TEST_F(TunerWindowTest, ResizingIsClampedAndTheButtonsFollowTheRightEdgeUnderThePanel)
{
    open();
    window->show();
    window->resize(200, 100);
    const QSize smallest = window->size();
    EXPECT_EQ(smallest, QSize(window->layout().minWidth(), window->layout().minHeight()));

    const QRect reviewBefore = window->button(TunerControl::Review)->geometry();
    window->resize(smallest.width() + 300, smallest.height() + 200);
    QApplication::processEvents();
    const QRect reviewAfter = window->button(TunerControl::Review)->geometry();
    EXPECT_EQ(reviewAfter.right() - reviewBefore.right(), 300);
    EXPECT_GT(reviewAfter.top(), reviewBefore.top());
    EXPECT_LE(reviewAfter.bottom(), window->height());
    // The wheels grew, and the panel hangs from their new bottom.
    EXPECT_GT(window->indicator().wheel(0)->width(), 100);
    EXPECT_EQ(window->keySpin()->geometry().top(), window->layout().wheelBottom() + 4);
}

TEST_F(TunerWindowTest, AFourFortyHeardLightsTheAWheelInTuneAndReadsA4)
{
    open();
    ASSERT_TRUE(window->startTuning());
    ASSERT_TRUE(updateUntil([&] { return window->readoutText().startsWith("A4"); }));
    ASSERT_TRUE(updateUntil([&] { return std::abs(window->lastUpdate().readout.cents()) < 0.04; }));
    EXPECT_EQ(window->readoutText(), "A4   440.0 Hz   0.0 cents");
    const WheelState &a = window->indicator().board().wheel(9); // A in C major
    EXPECT_EQ(a.mode(), WheelState::Mode::Active);
    EXPECT_EQ(a.color(), 3); // in tune
    EXPECT_EQ(window->indicator().board().wheel(0).mode(), WheelState::Mode::Idle);
}

// The readout for the music stand: across the band under the collapsed panel, and in the large
// view in place of the wheels, its note name at least a sixth of the window high; the verdict in
// words for the eye and for a screen reader.
TEST_F(TunerWindowTest, TheReadoutGrowsIntoTheLargeViewAndSaysTheVerdictInWords)
{
    open();
    window->show();
    ASSERT_TRUE(window->startTuning());
    ASSERT_TRUE(updateUntil([&] {
        return window->readoutText().startsWith("A4")
                && std::abs(window->lastUpdate().readout.cents())
                < 0.04; // shown as 0.0 cents, 440.0 Hz
    }));
    PitchReadoutWidget *readout = window->readout();
    EXPECT_EQ(readout->accessibleName(), "Pitch readout");
    EXPECT_EQ(readout->accessibleDescription(), "A4, 440.0 Hz, 0.0 cents, in tune");
    EXPECT_GE(readout->geometry().top(), window->layout().rect(TunerControl::PanelFrame).bottom);
    EXPECT_LE(readout->geometry().bottom(), window->button(TunerControl::Review)->geometry().top());

    // The ink of the note name: rows of the readout with dark pixels in its left part.
    const auto noteInkHeight = [&] {
        const QImage picture = readout->grab().toImage();
        const ReadoutGeometry g =
                ReadoutGeometry::within({ 0, 0, readout->width(), readout->height() });
        int top = -1, bottom = -1;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = g.note.left; x < g.note.right && x < picture.width(); ++x)
                if (qGray(picture.pixel(x, y)) < 100) {
                    top = top < 0 ? y : top;
                    bottom = y;
                    break;
                }
        return top < 0 ? 0 : bottom - top + 1;
    };
    EXPECT_GE(noteInkHeight(), 50) << "across the band under the panel";

    window->largeReadoutButton()->click();
    QApplication::processEvents();
    EXPECT_FALSE(window->indicator().wheel(0)->isVisible());
    EXPECT_GE(noteInkHeight(), window->height() / 6);
    if (const char *docs = std::getenv("CORVANE_DOCS_DIR"))
        window->grab().save(QString::fromLocal8Bit(docs)
                            + QStringLiteral("/tuner-large-readout.png"));
    window->largeReadoutButton()->click();
    EXPECT_TRUE(window->indicator().wheel(0)->isVisible());
    if (const char *docs = std::getenv("CORVANE_DOCS_DIR"))
        window->grab().save(QString::fromLocal8Bit(docs) + QStringLiteral("/tuner.png"));

    // Expanded, the readout keeps to the right of the panel's controls.
    window->button(TunerControl::More)->click();
    QApplication::processEvents();
    EXPECT_EQ(readout->geometry().left(), 765);
    EXPECT_GE(noteInkHeight(), 15);
    if (const char *docs = std::getenv("CORVANE_DOCS_DIR"))
        window->grab().save(QString::fromLocal8Bit(docs) + QStringLiteral("/tuner-expanded.png"));
}

TEST_F(TunerWindowTest, AClearNoteBelowTheRangeReadsBelowRangeAndLightsNoWheel)
{
    // Never shown, so the devices stay closed and the results are the test's own.
    open();
    window->engine().prepareAnalyzer();
    PitchResult result {};
    result.totalEnergy = 0.5;
    result.range = PitchResult::Range::Below;
    window->engine().publishResult(result);
    window->tunerUpdate(std::chrono::milliseconds(16));

    PitchReadoutWidget *readout = window->readout();
    EXPECT_EQ(readout->picture().outOfRange, "below range");
    EXPECT_EQ(readout->accessibleDescription(), "Below range");
    EXPECT_TRUE(window->readoutText().isEmpty()) << "no note, frequency or cents";
    for (int d = 0; d < kDegreeCount; ++d)
        EXPECT_EQ(window->indicator().board().wheel(d).mode(), WheelState::Mode::Idle) << d;
    // The words are drawn: dark ink in the readout's left half.
    const QImage picture = readout->grab().toImage();
    int ink = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width() / 2; ++x)
            ink += qGray(picture.pixel(x, y)) < 100;
    EXPECT_GT(ink, 50);
    if (const char *docs = std::getenv("CORVANE_DOCS_DIR"))
        window->grab().save(QString::fromLocal8Bit(docs)
                            + QStringLiteral("/tuner-below-range.png"));

    result.range = PitchResult::Range::Above;
    window->engine().publishResult(result);
    window->tunerUpdate(std::chrono::milliseconds(16));
    EXPECT_EQ(readout->accessibleDescription(), "Above range");
}

TEST_F(TunerWindowTest, ThePanelNamesTheInstrumentPresetInForceAndFollowsTheOptimizeDialog)
{
    settings.SetLowestNoteHz(100.0f);
    settings.SetHighestNoteHz(1000.0f);
    open();
    window->show();
    ASSERT_TRUE(window->startTuning());
    click(TunerControl::More);
    EXPECT_EQ(window->instrumentText(), "Custom range");

    // Two presets share these limits and filter: the one chosen in the dialog is named.
    const InstrumentPreset *bass = findInstrumentPreset("bass-guitar");
    ASSERT_NE(bass, nullptr);
    dialogs.onOptimize = [&] {
        settings.SetLowestNoteHz(bass->lowestHz);
        settings.SetHighestNoteHz(bass->highestHz);
        settings.SetFilterLength(bass->filterLengthCode);
        AnalyzerPreferences preferences;
        preferences.instrument = "bass-guitar";
        ASSERT_TRUE(preferences.save());
    };
    QPushButton *optimize = buttonNamed(*window, QStringLiteral("Optimize..."));
    ASSERT_NE(optimize, nullptr);
    QTest::mouseClick(optimize, Qt::LeftButton);
    EXPECT_EQ(dialogs.optimize, 1);
    EXPECT_EQ(window->instrumentText(), "Bass guitar");
    if (const char *docs = std::getenv("CORVANE_DOCS_DIR"))
        window->grab().save(QString::fromLocal8Bit(docs)
                            + QStringLiteral("/tuner-expanded-instrument.png"));
}

TEST(ReadoutPicture, TheVerdictFollowsTheFigureShownAndTheMiddleZone)
{
    CPitch pitch;
    CTCDefs settings;
    const KeyContext keys(settings);
    const PinwheelThresholds zones { 20, 10, 4, 10, 20 };
    const auto at = [&](double cents) {
        return ReadoutPicture::of(PitchReadout::of(440.0 * std::pow(2.0, cents / 1200.0), pitch,
                                                   keys, DegreeCents {}),
                                  zones);
    };
    EXPECT_EQ(at(4.04).verdict, "in tune") << "shown as +4.0";
    EXPECT_EQ(at(-4.2).spoken, "A4, 438.9 Hz, 4.2 cents flat, flat");
    EXPECT_EQ(at(8.0).zone, ReadoutPicture::Zone::Sharp);
    EXPECT_NEAR(at(-20.0).needle, -0.4, 1e-6);
    EXPECT_NEAR(at(70.0).needle, -0.6, 1e-6) << "70 cents sharp of A is 30 cents flat of Bb";
    EXPECT_EQ(ReadoutPicture::of(PitchReadout(), zones).spoken, "No note");
    const ReadoutPicture above = ReadoutPicture::of(PitchReadout::outOfRange(false), zones);
    EXPECT_FALSE(above.shown);
    EXPECT_EQ(above.outOfRange, "above range");
    EXPECT_EQ(above.spoken, "Above range");
}

TEST_F(LowETunerWindowTest, ALowEThirtyCentsFlatLightsTheEWheelFlatAndReadsMinusThirty)
{
    open();
    ASSERT_TRUE(window->startTuning());
    ASSERT_TRUE(updateUntil([&] {
        const PitchReadout &r = window->lastUpdate().readout;
        return r.note() == "E2" && std::abs(r.cents() + 30.0) <= 0.5;
    }));
    const WheelState &e = window->indicator().board().wheel(4);
    EXPECT_EQ(e.mode(), WheelState::Mode::Active);
    EXPECT_LT(e.color(), 3); // a flat zone
}

TEST_F(TunerWindowTest, ToneButtonsKeySpinAndDegreeButtonsReachTheVoicesAndTheDialogs)
{
    open();
    ASSERT_TRUE(window->startTuning());
    QTest::mouseClick(window->indicator().toneButton(9), Qt::LeftButton);
    EXPECT_TRUE(window->engine().toneOn(9));
    EXPECT_TRUE(window->indicator().toneOn(9));
    QTest::mouseClick(window->indicator().toneButton(9), Qt::LeftButton);
    EXPECT_FALSE(window->engine().toneOn(9));

    QTest::mouseClick(window->indicator().nameButton(4), Qt::LeftButton);
    EXPECT_EQ(dialogs.pitchDegrees, std::vector { 4 });

    // The key spin refuses to go past C# (14).
    window->keySpin()->setValue(14);
    keys.SetKey(14);
    window->keySpin()->stepBy(1);
    EXPECT_EQ(keys.Key(), 14);
    window->keySpin()->stepBy(-1);
    EXPECT_EQ(keys.Key(), 13);
}
