#include "CTonrikDoc.h"

#include "AnalysisSettings.h"
#include "CTCDefs.h"
#include "MessageService.h"
#include "RecentFileList.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>

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

CTonrikDoc::CTonrikDoc(CTCDefs &settings, std::filesystem::path tempDir, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_analysis(std::move(tempDir), m_observer)
{
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
    m_analysis.clear();
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
    DeleteContents();
    emit contentsChanged();

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
    m_worker = std::thread([this, file, settings, &ok, &loop] {
        ok = m_analysis.openAndAnalyze(file, settings);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    joinWorker();
    tick.stop();
    progress.close();

    showMessages(progressParent);
    if (!ok) {
        m_analysis.clear();
        emit contentsChanged();
        return false;
    }
    m_settings.SetCaptureFormat(m_analysis.monoFileFormat());
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
    const bool ok = m_analysis.save(path.toStdString());
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
    settings.classic = AnalyzerPreferences::load(m_preferencesFile).classic;
    return settings;
}

bool CTonrikDoc::AnalyzeCapture(const BlockRing &ring, const SampleFormat &captureFormat)
{
    DeleteContents();
    m_observer.stop.store(false);
    const bool ok = m_analysis.analyzeCapture(ring, captureFormat, analysisSettings());
    showMessages(nullptr);
    emit contentsChanged();
    return ok;
}

} // namespace corvane
