#pragma once

#include "FrameView.h"
#include "MainFrameState.h"
#include "TunerOutcome.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QLabel;
class QPrinter;
class QSlider;
class QToolBar;
class QToolButton;

namespace corvane {

class CPitch;
class CTCDefs;
class KeyContext;

// The program's main window: the menus, the toolbar (Tuner only, Capture, Play, Loop | Zoom In,
// Zoom Out | Print Preview), the option bar (six pane switches and the playback volume), the
// status bar (messages, CAP, NUM, SCRL), and the analysis area.
//
// Right after it is built the window asks for the tuner ("Tuner only"), so the program starts
// tuning at once. Commands whose window or data is not there are disabled: the tuner until a
// tuner opener is set, playback until a view is attached. The tuner's closing never leaves the
// window waiting: whatever the tuner reports, every command is usable again afterwards.
//
// What the commands decide lives in MainFrameState; this class shows it. Dialogs open
// window-modal without a nested event loop. The settings, note table and key context belong to
// the program and must outlive the window. UI thread only.
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    struct Context
    {
        CTCDefs &settings;
        CPitch &pitch;
        KeyContext &keys;
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
        Count_
    };

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
    QSlider *volumeSlider() const noexcept { return m_volume; }
    const MainFrameState &state() const noexcept { return m_state; }
    QPrinter &printer() noexcept { return *m_printer; }

    void setTunerOpener(TunerOpener opener);
    // The view, or null to detach it; it must outlive the window or be detached first.
    void setView(FrameView *view);

    // Prints the practice log to `printer` as "Print Log" does after its dialog.
    bool printLog(QPrinter &printer);

public slots:
    // The view reached the end of the recording, or its playback failed.
    void playbackEnded();

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
    void OnPane(MainFrameState::Pane pane, bool on);
    void OnZoom(bool in);
    void OnVolumeReleased();
    void OnPrintLog();
    void OnPrintPreview();
    void OnPrintSetup();
    void OnPrintOptions();
    void OnAbout();
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
    QToolBar *m_toolBar = nullptr;                                    // owned by the window
    QToolBar *m_optionBar = nullptr;                                  // owned by the window
    QSlider *m_volume = nullptr;                                      // owned by the option bar
};

} // namespace corvane
