#pragma once

#include "FrameView.h"
#include "HelpWindow.h"
#include "MainFrameState.h"
#include "TunerOutcome.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class QLabel;
class QMenu;
class QPrinter;
class QSlider;
class QToolBar;
class QToolButton;

namespace corvane {

class ProgramState;
class RecordingWindow;
struct PracticeClocks;

// The program's main window: the menus, the toolbar (Tuner only, Capture, Play, Loop | Zoom In,
// Zoom Out | Print Preview), the option bar (six pane switches and the playback volume), the
// status bar (messages, CAP, NUM, SCRL), and the analysis area: a RecordingWindow, which holds
// the recording document and its view and is the window's view for playback, panes and zoom.
//
// Right after it is built the window asks for the tuner ("Tuner only"), so the program starts
// tuning at once; with a recording named at start-up it opens that instead. Commands whose
// window or data is not there are disabled: the tuner until a tuner opener is set, playback and
// saving until a recording is loaded. The tuner's closing never leaves the window waiting:
// whatever the tuner reports, every command is usable again afterwards. Closing the window with
// a take not yet saved asks first.
//
// What the commands decide lives in MainFrameState; this class shows it. Dialogs open
// window-modal without a nested event loop. The settings, note table and key context belong to
// the program and must outlive the window. UI thread only.
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    // The program's state and the run's clocks; both must outlive the window.
    struct Context
    {
        ProgramState &program;
        const PracticeClocks &clocks;
    };

    enum class Command {
        New,
        Open,
        Save,
        SaveAs,
        Close,
        PrintLog,
        PrintPreview,
        PrintSetup,
        PrintOptions,
        Exit,
        Toolbar,
        OptionBar,
        StatusBar,
        ViewNotes,
        ViewIntonation,
        ViewVolume,
        ViewWave,
        ViewOctaveBands,
        ViewTimingMarks,
        ZoomIn,
        ZoomOut,
        TunerOnly,
        Capture,
        Play,
        Loop,
        SetClef,
        SetKey,
        Transposition,
        Temperaments,
        PitchReference,
        ConfigureSound,
        Optimize,
        RestoreDefaults,
        HelpTopics,
        About,
        Export,
        Copy,
        IntonationSummary,
        Count_
    };

    // "Restore default settings" asks first, then puts the factory settings in every field of the
    // record (kept in "tonrik.def" at exit), the standard pitch reference in the note table, the
    // system's default sound devices in the audio layer and the refined pitch mode in
    // "tonrik.prefs", and says so.
    static constexpr const char *kRestoreDefaultsQuestion =
            "Restore the factory settings? Every setting you have changed (reference, "
            "temperament, clef, transposition, tuner, pinwheels, sound devices and formats) goes "
            "back to how Corvane was installed.";
    static constexpr const char *kDefaultsRestoredMessage =
            "The factory settings have been restored.";

    // Opens the tuner window over `parent`, recording from the start or not, and calls `closed`
    // once when it has gone. Set by the program when it has a tuner.
    using TunerOpener = std::function<void(QWidget *parent, bool recording,
                                           std::function<void(TunerOutcome)> closed)>;

    explicit CMainFrame(const Context &context, QWidget *parent = nullptr);
    ~CMainFrame() override;

    QAction *action(Command command) const noexcept { return m_actions[std::size_t(command)]; }
    QToolBar *toolBar() const noexcept { return m_toolBar; }
    QToolBar *optionBar() const noexcept { return m_optionBar; }
    // 0 notes .. 5 timing marks.
    QToolButton *paneButton(int index) const noexcept { return m_paneButtons[std::size_t(index)]; }
    // The File menu's entries for the recent files, 0 the newest; hidden when unused.
    QAction *recentFileAction(int index) const noexcept
    {
        return m_recentFiles[std::size_t(index)];
    }
    RecordingWindow *recordingWindow() const noexcept { return m_recording; }
    HelpWindow *helpWindow() const noexcept { return m_help; }
    QSlider *volumeSlider() const noexcept { return m_volume; }
    const MainFrameState &state() const noexcept { return m_state; }
    QPrinter &printer() noexcept { return *m_printer; }

    void setTunerOpener(TunerOpener opener);
    // The view, or null to detach it; it must outlive the window or be detached first. The
    // window's own RecordingWindow is attached from the start.
    void setView(FrameView *view);

    // At start-up: open the wave file at `path` in place of opening the tuner. A file that cannot
    // be opened is said so, and the tuner opens as usual.
    void openAtStart(const QString &path);

    // Prints the practice log to `printer` as "Print Log" does after its dialog.
    bool printLog(QPrinter &printer);

public slots:
    // The view reached the end of the recording, or its playback failed.
    void playbackEnded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateOptionBar();
    void CreateStatusBar();
    QAction *Add(Command command, const QString &text, const QString &tip,
                 const QKeySequence &shortcut = {});

    void OnTuner(bool recording);
    void OnTunerClosed(TunerOutcome how);
    void OnPlay();
    void OnLoop();
    // Starts the view playing (once or looped) or stops it, as the state just toggled says.
    void PlayOrStop(bool start, bool loop);
    void OnPane(MainFrameState::Pane pane, bool on);
    void OnZoom(bool in);
    void OnVolumeReleased();
    void OnPrintLog();
    void OnPrintPreview();
    void OnPrintSetup();
    void OnPrintOptions();
    void OnAbout();
    void OnHelp();
    void OnStart();
    void OnRestoreDefaults();
    void ShowRecentFiles();
    // Fills "Takes of This Session" with the takes recorded since the program started.
    void ShowTakes();
    void ShowTitle();
    void OpenDialog(QDialog *dialog, bool repaintAfter = false);
    void ShowState();
    void ShowVolume();

    Context m_context;
    MainFrameState m_state;
    TunerOpener m_tunerOpener;
    FrameView *m_view = nullptr;
    bool m_tunerOpen = false;
    std::unique_ptr<QPrinter> m_printer;
    std::array<QAction *, std::size_t(Command::Count_)> m_actions {}; // owned by the window
    std::array<QToolButton *, 6> m_paneButtons {};                    // owned by the option bar
    std::array<QAction *, 4> m_recentFiles {};                        // owned by the window
    QAction *m_recentSeparator = nullptr;                             // owned by the File menu
    QMenu *m_takesMenu = nullptr;                                     // owned by the Tuner menu
    QToolBar *m_toolBar = nullptr;                                    // owned by the window
    QToolBar *m_optionBar = nullptr;                                  // owned by the window
    QSlider *m_volume = nullptr;                                      // owned by the option bar
    RecordingWindow *m_recording = nullptr; // owned by the window, its central widget
    QPointer<HelpWindow> m_help;            // owned by the window while it is open
    QString m_startFile;                    // a recording to open in place of the tuner
};

} // namespace corvane
