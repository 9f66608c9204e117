#pragma once

#include "AnalysisObserver.h"
#include "AnalysisSettings.h"
#include "CPitch.h"
#include "FileSteps.h"
#include "NoteRun.h"
#include "PagedFloatReader.h"
#include "PcmFormat.h"
#include "SampleList.h"
#include "SampleFormat.h"
#include "StereoChannel.h"
#include "TempBandFiles.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

class BlockRing;
class FileReplacement;
class MediaSample;
class PitchAnalyzer;
struct PitchResult;

// One analyzed recording, without its windows: a wave file the user opened, or the blocks just
// captured. The whole recording runs block by block through a pitch analyzer; what stays is the
// list of per-block samples, the notes built from them, and nine temporary files (the signal
// and its eight octave bands as floats) with a paged reader on each for the panes.
//
// States: empty (nothing analyzed) -> loaded (samples, notes and readers fixed until clear()).
// A failed open or capture analysis leaves it empty. One object is used by one thread at a time;
// it reads no process-wide state (its settings and reference come as arguments, its note table
// and the page pool of its readers are its own), so the caller may run one analysis on a worker
// thread while the windows read the panes of another, and hand an analysis from one thread to the
// other once it is done.
class RecordingAnalysis
{
public:
    static constexpr const char *kCannotOpenTemporaryFiles = "Cannot open temporary files";
    static constexpr const char *kNotPcm = "Not a PCM Wave file";
    static constexpr const char *kCannotDescend = "Error descending into Wave file";
    static constexpr const char *kUnableToOpen = "Unable to open file.";
    static constexpr const char *kUnableToStart = "Unable to start writing to file.";
    static constexpr const char *kUnableToWrite = "Unable to write to file.";
    // The raw samples of the blocks a capture analysis ran over, kept for saving.
    static constexpr const char *kCaptureFileName = "tnrkcapt.tmp";

    // The temporary files go to `tempDir` (the program passes the current directory). Reports
    // go to `observer`, which must outlive this object.
    RecordingAnalysis(std::filesystem::path tempDir, AnalysisObserver &observer);
    ~RecordingAnalysis();
    RecordingAnalysis(const RecordingAnalysis &) = delete;
    RecordingAnalysis &operator=(const RecordingAnalysis &) = delete;

    // How a file analysis reads the file and what it keeps besides the samples and notes.
    struct FileOptions
    {
        StereoChannel channel = StereoChannel::Left; // of a two-channel file
        // Without band files (for callers that need only the samples and notes) nothing is
        // written to the temporary directory and the readers stay closed.
        bool bandFiles = true;
    };

    // What the last file analysis found in the file, for a caller that wants to warn about it.
    struct FileReport
    {
        uint64_t dataBytesClaimed = 0; // what the data chunk's header says it holds
        uint64_t dataBytesInFile = 0;  // what the file holds of them
        int64_t wholeBlocks = 0;       // blocks analyzed
        int32_t leftoverFrames = 0;    // frames at the end, fewer than a block, not analyzed
        // The reader's code that ended the data before the header's end (WAVE_ERR_CORRUPT: the
        // file is shorter; RIFF_ERR_CANNOT_READ: the disk failed, readSystemError its errno).
        uint32_t readError = 0;
        int readSystemError = 0;
        // A take whose writer died: its header claimed headerDataBytes, the data were taken to
        // the end of the file (dataBytesClaimed).
        bool dataRecovered = false;
        uint64_t headerDataBytes = 0;
        // The band files could not be written (a full disk): the analysis stopped there, and
        // bandWriteError is the errno.
        bool bandWriteFailed = false;
        int bandWriteError = 0;
        int32_t channels = 0;
        std::array<double, 2> peaks {}; // largest magnitude per channel, 0 … 1 of full scale
    };

    void setFileOptions(const FileOptions &options) noexcept { m_fileOptions = options; }
    const FileReport &fileReport() const noexcept { return m_fileReport; }

    // Back to empty: frees samples and notes, closes the readers.
    void clear() noexcept;

    // Analyzes the wave file at `path`. Returns true when loaded; false after a reported
    // failure or when the observer asked to stop, with the analysis empty. A read error or a short
    // read in the middle of the data, or band files that could not be written, keep what was
    // analyzed so far; fileReport() says so, for the caller to tell the user. A last partial block
    // is not analyzed (but saved).
    bool openAndAnalyze(const std::filesystem::path &path, const AnalysisSettings &settings);

    // Analyzes the blocks of `ring` from its oldest up to, not including, its newest, which hold
    // PCM in `captureFormat`. No progress, no message but "Cannot open temporary files". Always
    // writes the band files; the file options do not apply.
    // Returns true when loaded.
    bool analyzeCapture(const BlockRing &ring, const SampleFormat &captureFormat,
                        const AnalysisSettings &settings);

    // Writes the recording to a standard PCM wave file at `path`, as it was recorded: every
    // channel, every frame (the last partial block too), the source's rate and depth (24-bit
    // packed in 3 bytes). A file analysis copies the samples of its file; a capture analysis those
    // of the blocks it analyzed (kept beside the band files). The file is replaced whole or not
    // at all (fileio/FileReplacement.h): the old one survives a failure, a kill or a full disk at
    // every step; `fault` lets a test fail any step. Returns false after one reported failure
    // naming the file and the cause; the caller keeps its old name. Allocates.
    bool save(const std::filesystem::path &path, FileFault fault = {});

    // The format of what save() writes: the recording's own. Invalid while nothing is loaded.
    const SampleFormat &sourceFormat() const noexcept { return m_source.format; }

    bool loaded() const noexcept { return m_loaded; }
    const SampleList &samples() const noexcept { return m_samples; }
    int32_t sampleCount() const noexcept { return static_cast<int32_t>(m_samples.size()); }
    // The notes and rests in time order, each a run of samples; empty when there are no samples.
    const std::vector<NoteRun> &noteRuns() const noexcept { return m_runs; }
    // Reader 0..7 for the octave bands (0 the highest), 8 for the signal. The nine share this
    // analysis's pages: 640 KiB at most, whatever the length of the recording.
    PagedFloatReader &reader(int index) noexcept
    {
        return m_readers[static_cast<std::size_t>(index)];
    }
    // The format handed to the analyzer.
    const PcmFormat &blockFormat() const noexcept { return m_blockFormat; }
    // After a file analysis: the file's format made mono, which the program keeps as its capture
    // format.
    const SampleFormat &monoFileFormat() const noexcept { return m_monoFileFormat; }
    // The note table the samples were named by: equal temperament on the settings' reference.
    const CPitch &noteTable() const noexcept { return m_noteTable; }
    // The settings the loaded analysis ran with, as they were passed in (a reference the note
    // table refused stays here as given; noteTable() says what was used). Empty while nothing
    // is loaded. What describes the analysis reads them here, never the program's settings of
    // now, which the user may have changed since.
    const std::optional<AnalysisSettings> &settings() const noexcept { return m_settings; }
    // The analyzer's latency: the delay of its slowest band, seconds.
    double maxDelay() const noexcept;
    const std::filesystem::path &tempDir() const noexcept { return m_tempDir; }

private:
    class BlockFeed;

    bool openWriters();
    bool configureAnalyzer(const PcmFormat &format, const AnalysisSettings &settings) noexcept;
    // Runs one hop through the analyzer and appends its sample and band data; the result's pitch
    // and level go to the sample leadHops() earlier.
    void analyzeBlock(const uint8_t *block);
    int32_t leadHops() const noexcept;
    void takeResult(const PitchResult &result, std::size_t index);
    // The results of the last leadHops() samples, from silence after the recording.
    void finishResults();
    void writeSignal(int file, const MediaSample *signal) noexcept;
    // Post-processing, notes, readers.
    void finish(const AnalysisSettings &settings);
    bool openReaders() noexcept;

    // Where save() takes the recording's samples from: the wave file analyzed, or the raw
    // capture blocks kept in the temporary folder.
    struct Source
    {
        std::filesystem::path path;
        bool wave = false;
        SampleFormat format;
    };

    std::filesystem::path m_tempDir;
    AnalysisObserver &m_observer;
    std::unique_ptr<PitchAnalyzer> m_analyzer;
    SampleList m_samples;
    std::vector<NoteRun> m_runs;
    PagePool m_pool; // before the readers, which hand their pages back to it when they close
    std::array<PagedFloatReader, TempBandFiles::kFileCount> m_readers;
    TempBandFiles m_writers;
    CPitch m_noteTable;
    PcmFormat m_blockFormat;
    SampleFormat m_monoFileFormat;
    FileOptions m_fileOptions;
    FileReport m_fileReport;
    Source m_source;
    std::optional<AnalysisSettings> m_settings; // of the loaded analysis
    bool m_loaded = false;
    bool m_bandFiles = true; // this analysis writes band files and opens readers on them
    std::optional<std::size_t> m_lastOnset; // the sample of the last onset
    std::optional<std::size_t> m_lastTaken; // the last sample a result went to
};

} // namespace corvane
