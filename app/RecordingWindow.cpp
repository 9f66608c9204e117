#include "RecordingWindow.h"

#include "AnalysisExport.h"
#include "DlgIntonationSummary.h"
#include "AnalysisReport.h"
#include "AudioFacade.h"
#include "CTonrikDoc.h"
#include "CTonrikView.h"
#include "FileChooser.h"
#include "MainFrameState.h"
#include "MessageService.h"
#include "ProgramState.h"
#include "RecentFileList.h"
#include "RecordingAnalysis.h"
#include "WaveFile.h"
#include "WaveFileInput.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QMimeData>
#include <QShortcut>
#include <QVBoxLayout>

#include <sstream>
#include <utility>
#include <string>
#include <vector>

namespace corvane {

// The frame counts zoom steps; the view's axis says what each one is.
static_assert(MainFrameState::kMaxZoom == TimeAxis::kZoomCount - 1);
static_assert(MainFrameState::kStartZoom == TimeAxis::kDefaultZoomIndex);

namespace {

    // The wave file's header is read before the document lets go of what it holds, so that a
    // file that is missing or is no PCM wave file costs the user nothing. Shows what the
    // analysis would have said.
    bool waveFileReadable(const QString &path, QWidget *parent)
    {
        WaveFileInput wave;
        const auto stop = [parent](const std::string &text) {
            widgets::messages().error(parent, QString::fromStdString(text));
        };
        switch (wave.open(path.toStdString())) {
        case WaveFileInput::Status::Ok:
            return true;
        case WaveFileInput::Status::WaveError:
            stop(wave.errorMessage());
            break;
        case WaveFileInput::Status::NotPcm: {
            // As exact as the command line: the file and what about it cannot be taken.
            WaveReader reader;
            std::string why;
            if (OpenWaveForReading(path.toStdString(), reader) == 0)
                why = PcmFileLayout::refusal(reader.format());
            stop(std::string(RecordingAnalysis::kNotPcm) + ": " + path.toStdString()
                 + (why.empty() ? "" : " (" + why + ")"));
            break;
        }
        case WaveFileInput::Status::NoData:
            // One box: the reader's message names the file and the missing chunk.
            stop(wave.errorMessage());
            break;
        }
        return false;
    }

} // namespace

RecordingWindow::RecordingWindow(ProgramState &program, QWidget *parent)
    : QWidget(parent)
    , m_program(program)
    , m_doc(std::make_unique<CTonrikDoc>(program.settings))
{
    auto *layout = new QVBoxLayout(this); // owned by this widget
    layout->setContentsMargins(0, 0, 0, 0);
    m_doc->setPreferencesFile(program.preferencesFile());
    m_view = new CTonrikView(*m_doc, program, this);
    layout->addWidget(m_view);
    connect(m_doc.get(), &CTonrikDoc::titleChanged, this, &RecordingWindow::titleChanged);
    connect(m_view, &CTonrikView::playStateChanged, this, [this](bool playing) {
        if (!playing)
            emit playbackStopped();
    });
    // Home and End reach the view from anywhere in the window, as Space reaches Play: the
    // focus is rarely on the panes themselves.
    for (auto [key, go] : { std::pair { Qt::Key_Home, &CTonrikView::goToStart },
                            std::pair { Qt::Key_End, &CTonrikView::goToEnd } }) {
        auto *shortcut = new QShortcut(QKeySequence(key), this); // owned by this widget
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, m_view, go);
    }
}

RecordingWindow::~RecordingWindow()
{
    // The view plays from the document's files: it goes first.
    delete m_view;
    m_view = nullptr;
}

QString RecordingWindow::title() const
{
    return m_doc->title();
}

bool RecordingWindow::hasRecording() const noexcept
{
    return m_doc->isLoaded();
}

void RecordingWindow::emptied()
{
    m_file.emptied();
    m_doc->OnNewDocument();
    emit recordingChanged();
}

void RecordingWindow::cancelAnalysis() noexcept
{
    m_doc->cancelAnalysis();
}

bool RecordingWindow::analyzeFile(const QString &path, bool remember)
{
    m_busy = true;
    emit recordingChanged();
    const bool ok = m_doc->OnOpenDocument(path, window(), remember);
    m_busy = false;
    return ok;
}

bool RecordingWindow::newDocument()
{
    if (m_busy || !saveModified())
        return false;
    emptied();
    return true;
}

bool RecordingWindow::closeDocument()
{
    return newDocument();
}

bool RecordingWindow::open()
{
    if (m_busy || !saveModified())
        return false;
    const QString path =
            fileChooser().openFileName(window(), tr("Open"), QString::fromLatin1(kWaveFilter));
    return !path.isEmpty() && openFile(path);
}

bool RecordingWindow::openFile(const QString &path)
{
    if (m_busy || !saveModified())
        return false;
    if (!waveFileReadable(path, window())) {
        if (!QFileInfo::exists(path)) {
            RecentFileList().remove(QFileInfo(path).absoluteFilePath());
            emit recentFilesChanged();
        }
        return false;
    }
    if (!analyzeFile(path, true)) {
        // The document keeps the recording it had; so does the window.
        emit recordingChanged();
        return false;
    }
    m_file.opened(QFileInfo(path).absoluteFilePath().toStdString());
    emit recordingChanged();
    emit recentFilesChanged();
    return true;
}

bool RecordingWindow::save()
{
    if (m_busy)
        return false;
    // A file the recording was opened from or saved to holds it already.
    if (!m_file.unsaved())
        return true;
    return saveAs();
}

bool RecordingWindow::saveAs()
{
    if (m_busy || !hasRecording())
        return false;
    const QString suggestion = m_file.unsaved() || m_file.path().empty()
            ? QString::fromLatin1(CTonrikDoc::kUntitled) + QStringLiteral(".wav")
            : QString::fromStdString(m_file.path().string());
    const QString path = fileChooser().saveFileName(window(), tr("Save As"), suggestion,
                                                    QString::fromLatin1(kWaveFilter), nullptr);
    if (path.isEmpty())
        return false;
    return saveTo(QString::fromStdString(
            RecordingFileState::withSuffix(path.toStdString(), ".wav").string()));
}

bool RecordingWindow::saveTo(const QString &path)
{
    // The document renames itself and fills the recent-file list only when the file was written.
    if (!m_doc->OnSaveDocument(path, window()))
        return false;
    m_file.saved(QFileInfo(path).absoluteFilePath().toStdString());
    emit recordingChanged();
    emit recentFilesChanged();
    return true;
}

bool RecordingWindow::saveModified()
{
    if (!m_file.unsaved() || !hasRecording())
        return true;
    const QString text = tr(kSaveChangesText).arg(m_doc->title());
    switch (widgets::messages().show(window(), {}, text, widgets::MessageService::Icon::Exclamation,
                                     widgets::MessageService::Buttons::YesNoCancel)) {
    case widgets::MessageService::Answer::Yes:
    case widgets::MessageService::Answer::Ok:
        return save();
    case widgets::MessageService::Answer::No:
        return true;
    case widgets::MessageService::Answer::Cancel:
        break;
    }
    return false;
}

bool RecordingWindow::exportFile()
{
    if (m_busy || !hasRecording())
        return false;
    const QString base = QFileInfo(m_doc->title()).completeBaseName();
    QString filter;
    QString path =
            fileChooser().saveFileName(window(), tr("Export"), base + QStringLiteral(".csv"),
                                       QString::fromLatin1(AnalysisExport::kFilter), &filter);
    if (path.isEmpty())
        return false;
    // A name typed without a suffix takes the one of the chosen kind.
    if (QFileInfo(path).suffix().isEmpty()) {
        const qsizetype star = filter.indexOf(QStringLiteral("*."));
        path += star >= 0 ? filter.mid(star + 1).chopped(1) : QStringLiteral(".csv");
    }
    return exportTo(path, AnalysisExport::rangeOfFilter(filter));
}

bool RecordingWindow::exportTo(const QString &path, PictureRange range)
{
    return AnalysisExport::exportTo(*m_doc, *m_view, path, window(), false, range,
                                    m_program.settings.GetPinwheelThresholds()[2]);
}

QDialog *RecordingWindow::showIntonationSummary()
{
    RecordingAnalysis *analysis = m_doc->analysis();
    const double inTune = m_program.settings.GetPinwheelThresholds()[2];
    const auto summary = analysis
            ? AnalysisExport::intonationSummary(*analysis, m_view->selection(), inTune)
            : std::nullopt;
    if (!summary)
        return nullptr;
    const BlockSelection &selection = m_view->selection();
    QString scope = QStringLiteral("Whole recording");
    if (!selection.empty()) {
        const double blockSeconds =
                double(analysis->blockFormat().blockLength) / analysis->blockFormat().sampleRate;
        scope = QStringLiteral("Selection %1 s to %2 s")
                        .arg(selection.start() * blockSeconds, 0, 'f', 2)
                        .arg(selection.end() * blockSeconds, 0, 'f', 2);
    }
    scope += QStringLiteral(" (in tune: within %1 cents)").arg(inTune, 0, 'f', 1);
    auto *dialog = new DlgIntonationSummary(*summary, scope, window()); // deletes itself
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    return dialog;
}

bool RecordingWindow::copy()
{
    RecordingAnalysis *analysis = m_doc->analysis();
    if (!analysis)
        return false;
    // The report describes the analysis as it ran, as Export's does.
    AnalysisReport report;
    report.describe(*analysis);
    const BlockSelection &selection = m_view->selection();
    if (!selection.empty()) {
        // The rows are moved back by the analyzer's delay, as the view's blocks are.
        const double blockSeconds =
                double(analysis->blockFormat().blockLength) / analysis->blockFormat().sampleRate;
        const double from = selection.start() * blockSeconds - report.latencySeconds;
        const double to = selection.end() * blockSeconds - report.latencySeconds;
        std::erase_if(report.notes, [from, to](const AnalysisReport::NoteRow &row) {
            return row.startSeconds >= to || row.startSeconds + row.durationSeconds <= from;
        });
    }
    std::ostringstream csv;
    report.writeCsv(csv, true);
    auto data = std::make_unique<QMimeData>();
    data->setImageData(m_view->renderImage());
    data->setText(QString::fromStdString(csv.str()));
    QApplication::clipboard()->setMimeData(data.release()); // owned by the clipboard
    return true;
}

bool RecordingWindow::startPlayback(bool loop)
{
    m_view->SetLooping(loop);
    // The device layer says why a device would not open; the user hears it in a box rather than
    // a silence.
    std::vector<std::string> why;
    audio::setDeviceErrorHandler([&why](const std::string &message) { why.push_back(message); });
    const bool playing = m_view->Play();
    audio::setDeviceErrorHandler({});
    for (const std::string &message : why)
        widgets::messages().error(window(), QString::fromStdString(message));
    return playing;
}

void RecordingWindow::stopPlayback()
{
    m_view->SetLooping(false);
    m_view->StopPlaying();
}

void RecordingWindow::setPlaybackVolume(float volume)
{
    audio::setVolume(volume);
}

void RecordingWindow::panesChanged(std::uint32_t panes)
{
    m_view->setViewPanes(panes);
}

void RecordingWindow::zoomChanged(int level)
{
    m_view->setZoomIndex(level);
}

void RecordingWindow::tunerClosed(TunerOutcome how)
{
    // The tuner cannot be opened while a file is analyzed (the window grays it), so a take
    // always finds the document free.
    switch (how) {
    case TunerOutcome::ReviewLastSeconds:
        reviewCapture();
        break;
    case TunerOutcome::ReviewRecording:
        reviewRecordingFile();
        break;
    case TunerOutcome::Exit:
        if (saveModified())
            emptied();
        break;
    case TunerOutcome::Canceled:
        m_view->OnUpdate();
        break;
    }
}

void RecordingWindow::reviewCapture()
{
    // A take not yet saved stays when the user cancels; these seconds stay in the capture ring
    // until the tuner runs again.
    if (!saveModified())
        return;
    m_doc->DeleteContents();
    m_doc->OnNewDocument();
    m_doc->AnalyzeCapture(audio::captureRing(), m_program.settings.GetCaptureFormat());
    // A ring of another format than the one now set (changed since the capture) gives no blocks:
    // nothing to keep, nothing to ask about later.
    if (m_doc->isLoaded() && m_doc->sampleCount() > 0)
        m_file.captured();
    else
        m_file.emptied();
    m_view->ResetView();
    emit recordingChanged();
}

void RecordingWindow::reviewRecordingFile()
{
    reviewTake(QString::fromStdString(audio::lastTakePath()));
}

void RecordingWindow::reviewTake(const QString &take)
{
    // Each take is in its own file (each Record starts a new one): it opens like any wave file,
    // but stays out of the recent-file list and counts as unsaved.
    if (m_busy || !saveModified())
        return;
    m_view->ResetView();
    if (analyzeFile(take, false))
        m_file.captured();
    else
        emptied();
    emit recordingChanged();
}

} // namespace corvane
