#pragma once

#include "TunerClosing.h"
#include "TunerEngine.h"
#include "TunerRecordingState.h"
#include "TunerWindowLayout.h"

#include <QDialog>
#include <QTimer>

#include <array>
#include <chrono>
#include <utility>
#include <vector>
#include <memory>
#include <optional>

class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;

namespace corvane {
class ActiveTimeCounter;
class IntonationStatistics;
class CPitch;
class CTCDefs;
class KeyContext;
class RunClock;
}

namespace corvane::widgets {
class UpDownControl;
}

namespace corvane::tuner {

class IntonationTable;
class LevelMeterWidget;
class PitchReadoutWidget;
class TunerDialogs;
class cPinwheelIndicator;

// "Tuner Active": the twelve pinwheels on top, the control panel under them (collapsed: the key
// and the signal meter; expanded: every control), and the recording buttons at the bottom.
//
// The window owns the tuner engine and a timer that updates the display while the devices run:
// at about the screen's refresh (sixty a second), each update taking the newest result and the
// time since the last, or five times a second in the classic display ("tonrik.prefs"); the timer
// dies with the window, so no update ever reaches a window that is gone. What the window shows is
// decided by TunerRecordingState and TunerWindowLayout; the window only acts on the devices and
// paints.
//
// It closes in one of four ways (TunerClosing), told once through `closed`, which the main frame
// connects queued so that it acts after the window's own event has finished. A device failure
// shows its message and closes the window the way Cancel does, nothing more.
//
// The settings, note table, key context, practice counter and run clock belong to the program,
// are used on the user-interface thread only and must outlive the window; so must `dialogs`.
class CTuner : public QDialog
{
    Q_OBJECT

public:
    struct Context
    {
        CTCDefs &settings;
        const CPitch &pitch;
        KeyContext &keys;
        ActiveTimeCounter &practice;
        const RunClock &clock;
        ProgramFolders folders {}; // where the preferences are and the takes go
        // The run's figures by pitch class from C, for the practice log: the window adds what it
        // heard when it goes. None: nothing is kept beyond the window.
        IntonationStatistics *runIntonation = nullptr;
    };

    static constexpr const char *kTitle = "Tuner Active";

    // `startRecording`: open already recording ("Capture"). `dialogs` opens the configuration
    // dialogs; it and everything `context` names must outlive the window.
    CTuner(const Context &context, bool startRecording, TunerDialogs &dialogs,
           QWidget *parent = nullptr);
    ~CTuner() override;

    // Starts the engine: tuning, or recording when the window was opened to record. Runs once,
    // by itself when the window is first shown; false (the window then closes as Cancel) when
    // the devices cannot be opened.
    bool startTuning();
    // One display update: wheels, readout, meters, load bars, clocks. The timer's slot: the time
    // since the last update is measured (a fifth of a second in the classic display).
    void tunerUpdate();
    // The same, `elapsed` after the one before, for a test that keeps the time itself.
    void tunerUpdate(std::chrono::microseconds elapsed);
    // The display's interval in milliseconds while it runs.
    int updateIntervalMs() const noexcept { return m_timer.interval(); }

    RecordingState recordingState() const noexcept { return m_recording.state(); }
    std::optional<TunerClosing> closing() const noexcept { return m_closing; }
    const TunerWindowLayout &layout() const noexcept { return m_layout; }
    TunerEngine &engine() noexcept { return *m_engine; }
    cPinwheelIndicator &indicator() noexcept { return *m_indicator; }
    IntonationTable &intonationTable() noexcept { return *m_intonation; }
    const TunerUpdate &lastUpdate() const noexcept { return m_shown; }
    // The instrument preset in force as the panel shows it beside the capture format: its name,
    // or "Custom range".
    QString instrumentText() const;
    // The readout as shown: "A4   440.0 Hz   0.0 cents", or empty.
    QString readoutText() const;
    PitchReadoutWidget *readout() const noexcept { return m_readout; }
    QPushButton *largeReadoutButton() const noexcept { return m_largeReadout; }

    QPushButton *button(TunerControl control) const;
    widgets::UpDownControl *keySpin() const noexcept { return m_keySpin; }
    QRadioButton *modeRadio(int mode) const noexcept { return m_modes[std::size_t(mode)]; }
    QSlider *micSlider() const noexcept { return m_mic; }
    QSlider *synthSlider() const noexcept { return m_synth; }
    QProgressBar *captureLoadBar() const noexcept { return m_captureLoad; }
    QProgressBar *playbackLoadBar() const noexcept { return m_playbackLoad; }
    LevelMeterWidget *fullMeter() const noexcept { return m_fullMeter; }
    LevelMeterWidget *bandMeter(int index) const noexcept
    {
        return m_bandMeters[std::size_t(index)];
    }

    // Escape and the window's close box: Cancel.
    void reject() override;

signals:
    // Once, when the window closes.
    void closed(corvane::tuner::TunerClosing how);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void CreatePanel();
    void CreateButtons();
    void PlaceControls();
    void ShowPanel();
    // Starts the display's timer at the pace of the display the engine read, from now.
    void StartUpdates();
    // The panel controls that sit where the layout puts them, each with its place in it.
    std::vector<std::pair<QWidget *, TunerControl>> PanelControls() const;
    void ShowRecordingState();
    void RelabelBandMeters();

    void OnMore();
    void OnLargeReadout(bool large);
    void OnRecord();
    void OnPause();
    void OnStop();
    void OnRecordingFailed();
    // Finishes the running take, goes on tuning, and says what went wrong with the take.
    void EndTake();
    // Stops the devices (finishing a take) and returns what they reported meanwhile, for one
    // box shown once the window tells the truth about the take.
    QString StopDevicesKeepingReports();
    void OnKeyStepped();
    void OnMode(int mode);
    void OnDeviceDialog(bool soundcard);
    void OnTranspose();
    void OnPitchwheels();
    void OnPitchConfig(int degree);
    void OnToneToggle(int degree);
    void OnMicSlider(int position);
    void OnSynthSlider(int position);

    // Takes an engine outcome: false when the devices failed and the window is closing.
    bool Accept(const TunerEngine::Outcome &outcome);
    void CloseAs(TunerClosing how);

    void PaintKey(QPainter &painter);
    void PaintExpandedTexts(QPainter &painter);
    void PaintLamp(QPainter &painter);

    Context m_context;
    bool m_startRecording;
    TunerDialogs &m_dialogs;
    std::unique_ptr<TunerEngine> m_engine;
    TunerRecordingState m_recording;
    TunerWindowLayout m_layout;
    TunerUpdate m_shown;
    QTimer m_timer; // a member: it stops and goes with the window
    std::chrono::steady_clock::time_point m_lastUpdate;
    bool m_started = false;
    bool m_warningShown = false;
    std::optional<TunerClosing> m_closing;

    // Children of the window, which owns and deletes them.
    cPinwheelIndicator *m_indicator = nullptr;
    IntonationTable *m_intonation = nullptr;
    widgets::UpDownControl *m_keySpin = nullptr;
    std::array<QRadioButton *, 4> m_modes {};
    LevelMeterWidget *m_fullMeter = nullptr;
    std::array<LevelMeterWidget *, 8> m_bandMeters {};
    QPushButton *m_transpose = nullptr;
    QPushButton *m_optimize = nullptr;
    QPushButton *m_pitchwheels = nullptr;
    QPushButton *m_soundcard = nullptr;
    QSlider *m_mic = nullptr;
    QSlider *m_synth = nullptr;
    QProgressBar *m_captureLoad = nullptr;
    QProgressBar *m_playbackLoad = nullptr;
    std::array<QPushButton *, 7> m_rowButtons {}; // More ... Review, left to right
    QPushButton *m_largeReadout = nullptr;
    PitchReadoutWidget *m_readout = nullptr;
};

} // namespace corvane::tuner
