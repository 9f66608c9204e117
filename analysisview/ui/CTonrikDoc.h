#pragma once

#include "AnalysisObserver.h"
#include "AnalysisSettings.h"
#include "AnalyzerPreferences.h"
#include "PrivateTempDir.h"
#include "RecordingAnalysis.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class QWidget;

namespace corvane {

class BlockRing;
class CTCDefs;
struct SampleFormat;

// The recording document: one analyzed recording, a wave file the user opened or the sound
// just captured, with its title and path. The analysis itself is RecordingAnalysis; this class
// gives it its windows: a file analysis runs on a worker thread behind the modeless "Analyzing
// File" dialog, whose Cancel button stops it, and every message becomes a message box (through
// widgets::messages()) once the work is done.
//
// While an analysis runs the document counts as empty for the view (isLoaded() is false), so
// nothing paints from files that are being written. Each analysis has its band files in a
// private folder of its own under the band-file base (PrivateTempDir), which goes with it: when
// the document closes, another recording replaces it, or the program ends. A file that cannot
// be opened leaves the document as it was. User-interface thread only.
class CTonrikDoc : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *kUntitled = "Untitled";
    static constexpr const char *kProgressTitle = "Analyzing File";
    static constexpr const char *kProgressText = "Analyzing contents of the wave file...";

    // Analyzes with `settings` (the program's record, which must outlive the document) and
    // keeps each analysis's band files in a private folder under `bandBase` (the program passes
    // the cache folder). Folders there that a killed run left (no live owner) go now.
    explicit CTonrikDoc(CTCDefs &settings,
                        std::filesystem::path bandBase = PrivateTempDir::cacheBase(),
                        QObject *parent = nullptr);
    ~CTonrikDoc() override;

    // New: empty and "Untitled".
    bool OnNewDocument();
    // Analyzes the wave file at `path` with analysisSettings(), showing progress over
    // `progressParent`. Keeps the user interface running meanwhile; returns once the analysis
    // has ended: true when loaded; false after a reported failure or a cancel, with the earlier
    // recording still loaded. A file read only in part (a read error, band files that could not
    // be written) or holding less than one block of sound is not opened; one that ends before
    // its header says, or whose header a killed recording left unfinished, opens with a note
    // saying how much was read.
    // On success the file's mono format becomes the capture format of the settings record (so
    // the tuner and an empty view go on in the recording's rate) and, unless `remember` is
    // false (the tuner's own recording file), the file heads the recent-file list.
    bool OnOpenDocument(const QString &path, QWidget *progressParent = nullptr,
                        bool remember = true);
    // Writes the recording to `path` as a PCM wave file; false after a reported failure, which
    // leaves the title, the path and the recent-file list as they were.
    bool OnSaveDocument(const QString &path, QWidget *parent = nullptr);
    void OnCloseDocument();
    // Back to empty; a running analysis is canceled first.
    void DeleteContents();
    // Analyzes the blocks of the capture ring (the devices stopped), which hold `captureFormat`.
    bool AnalyzeCapture(const BlockRing &ring, const SampleFormat &captureFormat);

    // What the Cancel button does; safe to call at any time.
    void cancelAnalysis() noexcept { m_observer.stop.store(true); }
    bool analyzing() const noexcept { return m_worker.joinable(); }

    QString title() const { return m_title; }
    void SetTitle(const QString &title);
    QString pathName() const { return m_pathName; }

    // What the next analysis runs with: the settings record as it is now and the pitch analysis
    // mode the Optimize dialog keeps in `preferencesFile` (read afresh for every analysis, so a
    // change made in the dialog holds for the next recording opened or captured).
    AnalysisSettings analysisSettings() const;
    void setPreferencesFile(std::filesystem::path path) { m_preferencesFile = std::move(path); }

    bool isLoaded() const noexcept { return !analyzing() && m_analysis->loaded(); }
    // Null while there is nothing to show.
    RecordingAnalysis *analysis() noexcept { return isLoaded() ? m_analysis.get() : nullptr; }
    int32_t sampleCount() const noexcept { return isLoaded() ? m_analysis->sampleCount() : 0; }
    // The folder of the loaded analysis's band files (empty while nothing is loaded).
    const std::filesystem::path &tempDir() const noexcept { return m_analysis->tempDir(); }

signals:
    // The contents changed: views reset and repaint.
    void contentsChanged();
    void titleChanged(const QString &title);

private:
    // Collects what the analysis reports, from whichever thread runs it.
    struct Observer final : AnalysisObserver
    {
        void message(const std::string &text, Icon icon) override;
        void progressBegin(int64_t blocks) override { total.store(blocks); }
        void progress(int64_t done) override { this->done.store(done); }
        bool stopRequested() const override { return stop.load(); }
        std::vector<std::pair<std::string, Icon>> takeMessages();

        std::atomic<int64_t> total { 0 };
        std::atomic<int64_t> done { 0 };
        std::atomic<bool> stop { false };
        std::mutex mutex;
        std::vector<std::pair<std::string, Icon>> messages;
    };

    // An analysis in a private folder of its own; `folder` null when none could be made.
    struct Analysis
    {
        std::unique_ptr<PrivateTempDir> folder;
        std::unique_ptr<RecordingAnalysis> analysis;
    };
    Analysis newAnalysis();
    void replaceAnalysis(Analysis next) noexcept;

    void showMessages(QWidget *parent);
    void joinWorker() noexcept;

    CTCDefs &m_settings;
    Observer m_observer;
    std::filesystem::path m_bandBase;
    // The loaded analysis (an empty one while nothing is), and the folder of its band files,
    // destroyed after it.
    std::unique_ptr<PrivateTempDir> m_folder;
    std::unique_ptr<RecordingAnalysis> m_analysis;
    std::thread m_worker;
    QString m_title = QString::fromLatin1(kUntitled);
    QString m_pathName;
    std::filesystem::path m_preferencesFile = AnalyzerPreferences::kFileName;
};

} // namespace corvane
