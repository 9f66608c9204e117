#include "RecordingAnalysis.h"

#include "BlockLength.h"
#include "BlockRing.h"
#include "PitchAnalyzer.h"
#include "PostProcessing.h"
#include "WaveDestinationFilter.h"
#include "WaveFileInput.h"
#include "WaveFile.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <utility>
#include <vector>

namespace corvane {

namespace {

    // One reader per file, all taking their pages from `pool`.
    template<std::size_t... File>
    std::array<PagedFloatReader, sizeof...(File)> readersOn(PagePool &pool,
                                                            std::index_sequence<File...>)
    {
        return { PagedFloatReader((static_cast<void>(File), pool))... };
    }

} // namespace

RecordingAnalysis::RecordingAnalysis(std::filesystem::path tempDir, AnalysisObserver &observer)
    : m_tempDir(std::move(tempDir))
    , m_observer(observer)
    , m_analyzer(std::make_unique<PitchAnalyzer>())
    , m_readers(readersOn(m_pool, std::make_index_sequence<TempBandFiles::kFileCount>()))
{
}

RecordingAnalysis::~RecordingAnalysis() = default;

void RecordingAnalysis::clear() noexcept
{
    m_runs.clear();
    m_samples.clear();
    m_settings.reset();
    if (m_loaded) {
        for (PagedFloatReader &reader : m_readers)
            reader.close();
        m_loaded = false;
    }
    m_bandFiles = true;
}

double RecordingAnalysis::maxDelay() const noexcept
{
    return m_analyzer->getMaxDelay();
}

bool RecordingAnalysis::openWriters()
{
    if (!m_bandFiles)
        return true;
    if (m_writers.openForWriting(m_tempDir))
        return true;
    // One message for the set; the analysis would otherwise write half its bands nowhere.
    m_observer.message(kCannotOpenTemporaryFiles, AnalysisObserver::Icon::None);
    return false;
}

bool RecordingAnalysis::configureAnalyzer(const PcmFormat &format,
                                          const AnalysisSettings &settings) noexcept
{
    try {
        // A fresh analyzer for every recording: one that has heard another recording keeps its
        // filter states and its last estimates, which would color the first blocks of this one.
        m_analyzer = std::make_unique<PitchAnalyzer>();
        m_analyzer->setMode(settings.classic ? PitchAnalyzer::Mode::Classic
                                             : PitchAnalyzer::Mode::Refined);
        m_analyzer->configure(format, settings.filterLength, settings.sensitivity);
        m_analyzer->setLimits(settings.lowestHz, settings.highestHz);
        m_blockFormat = format;
        // A reference the note table cannot take leaves it on 440 Hz.
        m_noteTable = CPitch();
        m_noteTable.SetReference(settings.referenceHz);
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

void RecordingAnalysis::writeSignal(int file, const MediaSample *signal) noexcept
{
    // A configured analyzer always has all nine blocks; nothing to write otherwise.
    if (signal && signal->buffer() && signal->format.length > 0)
        m_writers.write(file, signal->buffer(), static_cast<std::size_t>(signal->format.length));
}

void RecordingAnalysis::analyzeBlock(const uint8_t *block)
{
    CSample &sample = m_samples.append();
    const PitchResult &result = *m_analyzer->analyze(block);
    // The highest note is a limit like the lowest: a pitch more than a quarter-tone above it is
    // none the user asked for (a whistle, a harmonic), and is not reported.
    const double ceiling = m_analyzer->highestHz() / PitchAnalyzer::kLowestNoteMargin;
    sample.setFrequency(result.pitch > ceiling ? 0.0 : result.pitch, m_noteTable);
    sample.setLevel(result.totalEnergy);
    for (int band = 0; band < TempBandFiles::kBandCount; ++band)
        writeSignal(band, m_analyzer->bandSignal(band));
    writeSignal(TempBandFiles::kSignalFile, m_analyzer->inputSignal());
}

bool RecordingAnalysis::openAndAnalyze(const std::filesystem::path &path,
                                       const AnalysisSettings &settings)
{
    clear();
    m_fileReport = FileReport {};
    m_bandFiles = m_fileOptions.bandFiles;
    if (!openWriters())
        return false;

    std::error_code sizeError;
    const auto fileLength = std::filesystem::file_size(path, sizeError);

    WaveFileInput wave;
    switch (wave.open(path)) {
    case WaveFileInput::Status::Ok:
        break;
    case WaveFileInput::Status::WaveError:
        m_observer.message(wave.errorMessage(), AnalysisObserver::Icon::Stop);
        m_writers.close();
        return false;
    case WaveFileInput::Status::NotPcm:
        m_observer.message(kNotPcm, AnalysisObserver::Icon::Stop);
        m_writers.close();
        return false;
    case WaveFileInput::Status::NoData:
        m_observer.message(wave.errorMessage(), AnalysisObserver::Icon::Stop);
        m_observer.message(kCannotDescend, AnalysisObserver::Icon::Stop);
        m_writers.close();
        return false;
    }

    const PcmFileLayout &layout = wave.layout();
    const PcmFormat format { blockLengthForRate(layout.format.sampleRate), layout.format };
    if (!configureAnalyzer(format, settings)) {
        m_observer.message(kNotPcm, AnalysisObserver::Icon::Stop);
        m_writers.close();
        return false;
    }

    const std::size_t samplesPerBlock =
            static_cast<std::size_t>(format.blockLength) * format.channels;
    const std::size_t fileBlockBytes =
            samplesPerBlock * static_cast<std::size_t>(layout.fileBytesPerSample);
    std::vector<uint8_t> fileBlock(fileBlockBytes);
    std::vector<uint8_t> slotBlock(layout.packed() ? static_cast<std::size_t>(format.blockBytes())
                                                   : 0);
    const int64_t blocks = sizeError ? 0 : static_cast<int64_t>(fileLength / fileBlockBytes);

    m_fileReport.dataBytesClaimed = wave.dataBytes();
    m_fileReport.dataBytesInFile = sizeError || fileLength < wave.dataOffset()
            ? wave.dataBytes()
            : std::min<uint64_t>(wave.dataBytes(), fileLength - wave.dataOffset());
    m_fileReport.channels = format.channels;

    m_observer.progressBegin(blocks);
    int64_t done = 0;
    std::size_t got = 0;
    while ((got = wave.read(fileBlock.data(), fileBlockBytes)) == fileBlockBytes) {
        uint8_t *block = fileBlock.data();
        if (layout.packed()) {
            PcmFileLayout::unpack24(fileBlock.data(), slotBlock.data(), samplesPerBlock);
            block = slotBlock.data();
        }
        const auto frames = static_cast<std::size_t>(format.blockLength);
        raiseChannelPeaks(block, frames, format, m_fileReport.peaks);
        moveChannelToLeft(block, frames, format, m_fileOptions.channel);
        analyzeBlock(block);
        m_observer.progress(++done);
        if (m_observer.stopRequested())
            break;
    }
    m_observer.progressEnd();
    m_fileReport.wholeBlocks = done;
    m_fileReport.leftoverFrames = static_cast<int32_t>(
            got / (static_cast<std::size_t>(layout.fileBytesPerSample) * format.channels));
    m_fileReport.readError = wave.readError();
    m_fileReport.readSystemError = wave.readSystemError();
    if (m_observer.stopRequested()) {
        wave.close();
        m_writers.close();
        clear();
        return false;
    }

    // The program keeps the file's format as its capture format, as the PCM it was read as.
    m_monoFileFormat = layout.format;
    m_monoFileFormat.channels = 1;
    wave.close();
    finish(settings);
    return true;
}

bool RecordingAnalysis::analyzeCapture(const BlockRing &ring, const SampleFormat &captureFormat,
                                       const AnalysisSettings &settings)
{
    clear();
    if (!openWriters())
        return false;

    const PcmFormat format { blockLengthForRate(captureFormat.sampleRate), captureFormat };
    if (!PcmFileLayout::analyzable(captureFormat) || !configureAnalyzer(format, settings)) {
        m_writers.close();
        return false;
    }

    // The ring's blocks are raw capture blocks; they are analyzed only when they are blocks of
    // this format (a format changed since the capture leaves the analysis empty).
    if (ring.blockSize() == format.blockBytes() && ring.oldestIndex() != ring.newestIndex()) {
        // nextIndex stays put on the last whole block, the one before the block being written.
        for (int32_t i = ring.oldestIndex();;) {
            analyzeBlock(reinterpret_cast<const uint8_t *>(ring.blockAddress(i)));
            const int32_t next = ring.nextIndex(i);
            if (next == i)
                break;
            i = next;
        }
    }
    finish(settings);
    return true;
}

void RecordingAnalysis::finish(const AnalysisSettings &settings)
{
    m_writers.close();
    postProcess(m_samples, settings.noiseThreshold, m_noteTable);
    m_runs = buildNoteRuns(m_samples);
    m_settings = settings;
    m_loaded = true;
    if (m_bandFiles)
        openReaders();
}

bool RecordingAnalysis::save(const std::filesystem::path &path)
{
    if (!m_loaded || !m_bandFiles || m_blockFormat.blockLength <= 0)
        return false;

    // The document keeps one channel, so that is what is saved, with a header that describes
    // exactly the bytes written: one slot per frame.
    PcmFormat mono = m_blockFormat;
    mono.channels = 1;
    const auto slotBytes = static_cast<std::size_t>(mono.bytesPerSample());

    WaveWriter writer;
    if (CreateWaveFile(path, mono.samples(), writer) != 0) {
        m_observer.message(kUnableToOpen, AnalysisObserver::Icon::Stop);
        FinishWaveFile(writer, 0);
        return false;
    }
    if (BeginWaveData(writer) != 0) {
        m_observer.message(kUnableToStart, AnalysisObserver::Icon::Stop);
        FinishWaveFile(writer, 0);
        // Only a half-written file of ours goes; a device or other special file stays.
        std::error_code ignored;
        if (std::filesystem::is_regular_file(path, ignored))
            std::filesystem::remove(path, ignored);
        return false;
    }

    PagedFloatReader &signalReader = m_readers[TempBandFiles::kSignalFile];
    signalReader.close();
    const std::filesystem::path signalPath =
            TempBandFiles::filePath(m_tempDir, TempBandFiles::kSignalFile);
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> signal(std::fopen(signalPath.c_str(), "rb"),
                                                            &std::fclose);

    bool ok = true;
    try {
        OutputPin feed;
        WaveDestinationFilter destination;
        feed.setFormat(MediaFormat { mono.blockLength, static_cast<double>(mono.sampleRate) });
        feed.connect(destination.inputPin(1));
        std::vector<uint8_t> pcm(static_cast<std::size_t>(mono.blockBytes()));
        destination.setTarget(mono, pcm.data());
        float *floats = feed.media()->buffer();
        const auto frames = static_cast<std::size_t>(mono.blockLength);

        for (std::size_t block = 0; ok && block < m_samples.size(); ++block) {
            // A signal file that came up short (it could not be written whole) pads with
            // silence rather than repeating stale floats.
            const std::size_t got =
                    signal ? std::fread(floats, sizeof(float), frames, signal.get()) : 0;
            std::fill(floats + got, floats + frames, 0.0f);
            feed.deliver();
            feed.clearReady();
            std::size_t written = 0;
            const uint32_t code =
                    WriteWaveData(writer, std::as_bytes(std::span<const uint8_t>(pcm)), written);
            if (code != 0 || written != pcm.size())
                ok = false;
        }
    } catch (const std::exception &) {
        ok = false;
    }

    const auto bytesWritten = writer.dataBytes();
    if (FinishWaveFile(writer, static_cast<uint32_t>(bytesWritten / slotBytes)) != 0)
        ok = false;
    if (!ok)
        m_observer.message(kUnableToWrite, AnalysisObserver::Icon::Stop);

    signal.reset();
    signalReader.open(signalPath);
    return ok;
}

bool RecordingAnalysis::openReaders() noexcept
{
    bool all = true;
    for (int i = 0; i < TempBandFiles::kFileCount; ++i) {
        if (!m_readers[static_cast<std::size_t>(i)].open(TempBandFiles::filePath(m_tempDir, i)))
            all = false;
    }
    return all;
}

} // namespace corvane
