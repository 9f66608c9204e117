#include "CTonrikDoc.h"

#include "AnalysisSettings.h"
#include "CTCDefs.h"
#include "MessageService.h"
#include "RecentFileList.h"
#include "WaveFile.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>

#include <chrono>
#include <cstring>

namespace corvane {

void CTonrikDoc::Observer::message(const std::string &text, Icon icon)
{
    std::lock_guard lock(mutex);
    messages.emplace_back(text, icon);
}

std::vector<std::pair<std::string, AnalysisObserver::Icon>> CTonrikDoc::Observer::takeMessages()
{
    std::lock_guard lock(mutex);
    return std::exchange(messages, {});
}

namespace {

    // Folders a killed run left are taken away once no process has held their lock for a
    // minute (a live run holds its lock for as long as its folder exists).
    constexpr std::chrono::seconds kStaleFolderAge { 60 };

    QString secondsText(double seconds)
    {
        return QString::number(seconds, 'f', 2) + QStringLiteral(" s");
    }

    QString causeText(int error)
    {
        return error != 0 ? QString::fromLocal8Bit(std::strerror(error))
                          : QStringLiteral("the disk failed to read");
    }

    // What the user must hear about a file analysis that ended: an empty text when nothing went
    // wrong; `refuse` when the analysis is not to be opened.
    QString fileVerdict(const RecordingAnalysis &analysis, const QString &path, bool &refuse)
    {
        const RecordingAnalysis::FileReport &file = analysis.fileReport();
        const PcmFormat &format = analysis.blockFormat();
        const double perBlock = format.sampleRate > 0
                ? static_cast<double>(format.blockLength) / format.sampleRate
                : 0.0;
        const QString analyzed = secondsText(static_cast<double>(file.wholeBlocks) * perBlock);
        refuse = true;
        if (file.bandWriteFailed) {
            return QStringLiteral("Cannot write the analysis files in %1: %2.\nThe analysis "
                                  "stopped after %3, so the file was not opened.")
                    .arg(QString::fromStdString(analysis.tempDir().string()),
                         causeText(file.bandWriteError), analyzed);
        }
        if (file.readError == RIFF_ERR_CANNOT_READ) {
            return QString::fromLatin1(waveErrorPrefix(WAVE_ERR_READ)) + path
                    + QStringLiteral(": %1.\nOnly the first %2 could be read, so the file was "
                                     "not opened.")
                              .arg(causeText(file.readSystemError), analyzed);
        }
        if (file.wholeBlocks == 0) {
            return path
                    + QStringLiteral(" holds no sound to analyze: %1 of the %2 frames of one "
                                     "analysis block.\nThe file was not opened.")
                              .arg(file.leftoverFrames)
                              .arg(format.blockLength);
        }
        refuse = false;
        if (file.dataRecovered) {
            return QStringLiteral("The recording %1 was not finished: its header was left as a "
                                  "killed or crashed recording leaves it.\n%2 of sound were "
                                  "recovered from it.")
                    .arg(path, analyzed);
        }
        if (file.readError == WAVE_ERR_CORRUPT || file.dataBytesInFile < file.dataBytesClaimed) {
            return QString::fromLatin1(waveErrorPrefix(WAVE_ERR_CORRUPT)) + path
                    + QStringLiteral(": its data chunk claims %1 bytes but the file holds %2.\n"
                                     "What is there was opened (%3).")
                              .arg(file.dataBytesClaimed)
                              .arg(file.dataBytesInFile)
                              .arg(analyzed);
        }
        return {};
    }

} // namespace

CTonrikDoc::CTonrikDoc(CTCDefs &settings, std::filesystem::path bandBase, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_bandBase(std::move(bandBase))
    , m_analysis(std::make_unique<RecordingAnalysis>(std::filesystem::path(), m_observer))
{
    PrivateTempDir::removeStale(m_bandBase, kStaleFolderAge);
}

CTonrikDoc::Analysis CTonrikDoc::newAnalysis()
{
    Analysis next;
    next.folder = std::make_unique<PrivateTempDir>(m_bandBase);
    // Without a folder of its own the analysis tries the base itself, and says so if it fails.
    const std::filesystem::path dir = next.folder->valid() ? next.folder->path() : m_bandBase;
    if (!next.folder->valid())
        next.folder.reset();
    next.analysis = std::make_unique<RecordingAnalysis>(dir, m_observer);
    return next;
}

void CTonrikDoc::replaceAnalysis(Analysis next) noexcept
{
    // The old analysis closes its readers before its folder goes.
    m_analysis = std::move(next.analysis);
    m_folder = std::move(next.folder);
}

CTonrikDoc::~CTonrikDoc()
{
    cancelAnalysis();
    joinWorker();
}

void CTonrikDoc::joinWorker() noexcept
{
    if (m_worker.joinable())
        m_worker.join();
}

void CTonrikDoc::showMessages(QWidget *parent)
{
    for (const auto &[text, icon] : m_observer.takeMessages()) {
        widgets::messages().show(parent, {}, QString::fromStdString(text),
                                 icon == AnalysisObserver::Icon::Stop
                                         ? widgets::MessageService::Icon::Stop
                                         : widgets::MessageService::Icon::None,
                                 widgets::MessageService::Buttons::Ok);
    }
}

void CTonrikDoc::SetTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    emit titleChanged(m_title);
}

void CTonrikDoc::DeleteContents()
{
    cancelAnalysis();
    joinWorker();
    replaceAnalysis(
            { nullptr, std::make_unique<RecordingAnalysis>(std::filesystem::path(), m_observer) });
    m_observer.takeMessages();
}

bool CTonrikDoc::OnNewDocument()
{
    DeleteContents();
    m_pathName.clear();
    SetTitle(QString::fromLatin1(kUntitled));
    emit contentsChanged();
    return true;
}

void CTonrikDoc::OnCloseDocument()
{
    OnNewDocument();
}

bool CTonrikDoc::OnOpenDocument(const QString &path, QWidget *progressParent, bool remember)
{
    if (analyzing())
        return false;
    m_observer.takeMessages();
    // The view shows nothing while the new analysis runs (isLoaded() is false meanwhile).
    emit contentsChanged();
    Analysis next = newAnalysis();

    const AnalysisSettings settings = analysisSettings();
    m_observer.stop.store(false);
    m_observer.total.store(0);
    m_observer.done.store(0);

    QProgressDialog progress(QString::fromLatin1(kProgressText), QStringLiteral("Cancel"), 0, 0,
                             progressParent);
    progress.setWindowTitle(QString::fromLatin1(kProgressTitle));
    progress.setWindowModality(Qt::NonModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    connect(&progress, &QProgressDialog::canceled, this, [this] { cancelAnalysis(); });
    progress.show();

    // The worker only analyzes; the dialog follows its counters on a timer, and the worker
    // ends the local loop with a queued call, so the user interface keeps running throughout.
    QEventLoop loop;
    QTimer tick;
    connect(&tick, &QTimer::timeout, &progress, [this, &progress] {
        const auto total = static_cast<int>(std::min<int64_t>(m_observer.total.load(), INT32_MAX));
        if (progress.maximum() != total)
            progress.setMaximum(total);
        progress.setValue(static_cast<int>(std::min<int64_t>(m_observer.done.load(), total)));
    });
    tick.start(50);
    bool ok = false;
    const std::filesystem::path file = path.toStdString();
    RecordingAnalysis *analysis = next.analysis.get();
    m_worker = std::thread([file, settings, analysis, &ok, &loop] {
        ok = analysis->openAndAnalyze(file, settings);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    joinWorker();
    tick.stop();
    progress.close();

    showMessages(progressParent);
    bool refuse = false;
    const QString verdict = ok ? fileVerdict(*analysis, path, refuse) : QString();
    if (!verdict.isEmpty()) {
        widgets::messages().show(progressParent, {}, verdict,
                                 refuse ? widgets::MessageService::Icon::Stop
                                        : widgets::MessageService::Icon::None,
                                 widgets::MessageService::Buttons::Ok);
    }
    if (!ok || refuse) {
        // The earlier recording stays; its panes come back.
        emit contentsChanged();
        return false;
    }
    replaceAnalysis(std::move(next));
    m_settings.SetCaptureFormat(m_analysis->monoFileFormat());
    m_pathName = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(path).fileName());
    if (remember)
        RecentFileList().add(m_pathName);
    emit contentsChanged();
    return true;
}

bool CTonrikDoc::OnSaveDocument(const QString &path, QWidget *parent)
{
    if (!isLoaded())
        return false;
    const bool ok = m_analysis->save(path.toStdString());
    showMessages(parent);
    if (ok) {
        m_pathName = QFileInfo(path).absoluteFilePath();
        SetTitle(QFileInfo(path).fileName());
        RecentFileList().add(m_pathName);
    }
    return ok;
}

AnalysisSettings CTonrikDoc::analysisSettings() const
{
    AnalysisSettings settings = AnalysisSettings::from(m_settings);
    const AnalyzerPreferences preferences = AnalyzerPreferences::load(m_preferencesFile);
    settings.classic = preferences.classic;
    settings.blockHop = preferences.blockHop;
    return settings;
}

bool CTonrikDoc::AnalyzeCapture(const BlockRing &ring, const SampleFormat &captureFormat)
{
    DeleteContents();
    m_observer.stop.store(false);
    Analysis next = newAnalysis();
    const bool ok = next.analysis->analyzeCapture(ring, captureFormat, analysisSettings());
    if (ok)
        replaceAnalysis(std::move(next));
    showMessages(nullptr);
    emit contentsChanged();
    return ok;
}

} // namespace corvane
