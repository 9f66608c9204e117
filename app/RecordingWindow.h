#pragma once

#include "FrameView.h"
#include "PicturePages.h"
#include "RecordingFileState.h"

#include <QString>
#include <QWidget>

#include <memory>

class QDialog;

namespace corvane {

class CTonrikDoc;
class CTonrikView;
class ProgramState;

// The main window's analysis area: the recording document and its view, and the file commands
// on them (New, Open, Save, Save As, Close, the recent files, Export, Copy). The window drives
// playback, panes and zoom through FrameView and hears back through the signals below.
//
// A take from the tuner is never dropped without asking: New, Open, Close, the next take and
// the end of the program first ask whether to save it (through the message service), and a save
// that fails keeps the document's name, the recent-file list and the question for next time.
// Files are asked for through fileChooser(), so tests need no dialog.
//
// The temporary analysis files go to the current directory, as the program's other files do.
// UI thread only.
class RecordingWindow : public QWidget, public FrameView
{
    Q_OBJECT

public:
    static constexpr const char *kWaveFilter = "Wave Files (*.wav)";
    static constexpr const char *kSaveChangesText = "Save changes to %1?";

    // Works on `program`, which must outlive the window: its settings are what the recording is
    // analyzed with, and an opened file's format becomes their capture format.
    explicit RecordingWindow(ProgramState &program, QWidget *parent = nullptr);
    ~RecordingWindow() override;

    CTonrikDoc &document() noexcept { return *m_doc; }
    CTonrikView &view() noexcept { return *m_view; }
    const RecordingFileState &fileState() const noexcept { return m_file; }
    // The title the main window shows: the file's name, or "Untitled".
    QString title() const;

    // Each returns whether it did what was asked; a refusal or a failure has been shown.
    bool newDocument();
    // Asks for a wave file, then as openFile.
    bool open();
    // A wave file opened and analyzed. One that cannot be opened is said so, and leaves the
    // recent-file list when it no longer exists.
    bool openFile(const QString &path);
    // A take of the tuner opened for review, as the tuner's Review opens the last one: it stays out
    // of the recent-file list and counts as unsaved until it is saved under a name.
    void reviewTake(const QString &path);
    // A take asks for a name and is written there; a recording that is already in a file needs
    // nothing (writing it back could only lose channels or depth the file had).
    bool save();
    bool saveAs();
    // The recording written to `path`. Only a save that worked renames the document and puts the
    // file in the recent-file list.
    bool saveTo(const QString &path);
    bool closeDocument();
    // Asks for a name; the suffix says what is written (notes as CSV, the panes as PNG or PDF),
    // the chosen kind whether a picture shows the visible part, the whole or the selection.
    bool exportFile();
    // A picture (PNG or PDF) shows `range`: the visible part, the whole recording or the selection.
    bool exportTo(const QString &path, PictureRange range = PictureRange::Visible);
    // The panes as shown, as a picture, and the notes of the selection (all notes when nothing is
    // selected) as CSV text, both on the clipboard.
    bool copy();
    // "Intonation Summary...": opens the dialog of how in tune the selection (or the whole
    // recording) was played, without waiting for it; null when nothing is loaded.
    QDialog *showIntonationSummary();

    // Whether the document's recording may go: true when it is safe on disk, or the user saved
    // it or let it go; false when they canceled or the save failed.
    bool saveModified();

    // A wave file is being analyzed behind the "Analyzing File" dialog. The window keeps running
    // meanwhile, so every command that would change the document is refused until it ends.
    bool busy() const noexcept { return m_busy; }
    // Stops that analysis (the program is closing); the document is then empty.
    void cancelAnalysis() noexcept;

    // FrameView.
    bool hasRecording() const noexcept override;
    bool startPlayback(bool loop) override;
    void stopPlayback() override;
    void setPlaybackVolume(float volume) override;
    void panesChanged(std::uint32_t panes) override;
    void zoomChanged(int level) override;
    void tunerClosed(TunerOutcome how) override;

signals:
    void titleChanged(const QString &title);
    // Loaded or emptied, or an analysis began or ended: the window updates its commands.
    void recordingChanged();
    // Playback ended: at the end of the recording, on Stop, or because the device failed.
    void playbackStopped();
    // A file joined or left the recent-file list.
    void recentFilesChanged();

private:
    void reviewCapture();
    void reviewRecordingFile();
    void emptied();
    // The document's open, with busy() true while it runs.
    bool analyzeFile(const QString &path, bool remember);

    ProgramState &m_program;
    std::unique_ptr<CTonrikDoc> m_doc; // declared before the view, which refers to it
    CTonrikView *m_view = nullptr;     // owned by this widget
    RecordingFileState m_file;
    bool m_busy = false;
};

} // namespace corvane
