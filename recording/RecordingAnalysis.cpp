#include "RecordingAnalysis.h"

#include "BlockLength.h"
#include "BlockRing.h"
#include "FileReplacement.h"
#include "PitchAnalyzer.h"
#include "PostProcessing.h"
#include "WaveDestinationFilter.h"
#include "WaveFileInput.h"
#include "WaveFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
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
    if (!m_source.wave && !m_source.path.empty()) {
        std::error_code ignored;
        std::filesystem::remove(m_source.path, ignored);
    }
    m_source = Source {};
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
    // One message for the set, naming the file and the cause; the analysis would otherwise write
    // half its bands nowhere.
    std::string message = std::string(kCannotOpenTemporaryFiles) + ": " + m_writers.failedName();
    if (m_writers.error() != 0)
        message += ": " + std::string(std::strerror(m_writers.error()));
    m_observer.message(message, AnalysisObserver::Icon::None);
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
        m_analyzer->configure(format, settings.filterLength, settings.sensitivity,
                              settings.blockHop ? 0 : hopLengthForRate(format.sampleRate));
        m_analyzer->setLimits(settings.lowestHz, settings.highestHz);
        // The analyzer takes a hop at a time; each hop gives one sample.
        m_blockFormat = PcmFormat(m_analyzer->hopLength(), format.samples());
        m_lastOnset.reset();
        m_lastTaken.reset();
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

int32_t RecordingAnalysis::leadHops() const noexcept
{
    // A result describes the window that ends with its hop, and the consensus names a new note
    // one result after the window first holds it. A recording, read after the fact, describes
    // each hop by the window that begins with it, and takes that window's result from the
    // consensus one hop later: the result that comes a window's worth of hops after the hop.
    // (On the passages of make accuracy, a lead of half a window places note changes 31 ms late
    // and names 89.4 % of the frames at 44.1 kHz; this lead, 25 ms and 92.2 %.)
    const int32_t windowHops = m_analyzer->windowLength() / std::max(m_analyzer->hopLength(), 1);
    return windowHops > 1 ? windowHops : 0;
}

void RecordingAnalysis::takeResult(const PitchResult &result, std::size_t index)
{
    // A window cut at an onset hears only the sound since then: its result is not moved before
    // the onset. The samples it would have gone to keep the note before, up to the onset.
    if (m_lastOnset && index < *m_lastOnset)
        index = *m_lastOnset;
    if (m_lastTaken) {
        for (std::size_t k = *m_lastTaken + 1; k < index; ++k) {
            m_samples[k].setFrequency(m_samples[*m_lastTaken].frequency(), m_noteTable);
            m_samples[k].setLevel(m_samples[*m_lastTaken].level());
            m_samples[k].setOutOfRange(m_samples[*m_lastTaken].outOfRange());
        }
    }
    m_lastTaken = index;
    CSample &sample = m_samples[index];
    // The highest note is a limit like the lowest: a pitch more than a quarter-tone above it is
    // none the user asked for (a whistle, a harmonic), and is not reported.
    const double ceiling = m_analyzer->highestHz() / PitchAnalyzer::kLowestNoteMargin;
    sample.setFrequency(result.pitch > ceiling ? 0.0 : result.pitch, m_noteTable);
    sample.setLevel(result.totalEnergy);
    sample.setOutOfRange(CSample::OutOfRange::No);
    if (result.range == PitchResult::Range::Below)
        sample.setOutOfRange(CSample::OutOfRange::Below);
    else if (result.range == PitchResult::Range::Above || result.pitch > ceiling)
        sample.setOutOfRange(CSample::OutOfRange::Above);
}

void RecordingAnalysis::analyzeBlock(const uint8_t *block)
{
    m_samples.append();
    const PitchResult &result = *m_analyzer->analyze(block);
    const std::size_t newest = m_samples.size() - 1;
    // The onset lies in this hop's sound; the pitch and level belong to the hop a few earlier.
    m_samples[newest].setOnsetFrames(result.onsetFrames);
    if (result.onsetFrames >= 0)
        m_lastOnset = newest;
    const auto lead = static_cast<std::size_t>(leadHops());
    takeResult(result, newest >= lead ? newest - lead : 0);
    for (int band = 0; band < TempBandFiles::kBandCount; ++band)
        writeSignal(band, m_analyzer->bandSignal(band));
    writeSignal(TempBandFiles::kSignalFile, m_analyzer->inputSignal());
}

void RecordingAnalysis::finishResults()
{
    // The last samples' windows reach past the recording: silence fills them.
    const auto lead = static_cast<std::size_t>(leadHops());
    const std::size_t count = m_samples.size();
    if (lead == 0 || count == 0)
        return;
    std::vector<uint8_t> silence(static_cast<std::size_t>(m_blockFormat.blockBytes()), 0);
    if (m_blockFormat.bitsPerSample == 8)
        std::fill(silence.begin(), silence.end(), uint8_t { 0x80 });
    for (std::size_t k = 0; k < lead; ++k) {
        const std::size_t index = count + k;
        if (index >= lead)
            takeResult(*m_analyzer->analyze(silence.data()), index - lead);
    }
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
        // One message: the reader's names the file and says what is missing.
        m_observer.message(wave.errorMessage(), AnalysisObserver::Icon::Stop);
        m_writers.close();
        return false;
    }

    const PcmFileLayout &layout = wave.layout();
    if (!configureAnalyzer({ blockLengthForRate(layout.format.sampleRate), layout.format },
                           settings)) {
        m_observer.message(kNotPcm, AnalysisObserver::Icon::Stop);
        m_writers.close();
        return false;
    }

    // The file is read a hop at a time.
    const PcmFormat format = m_blockFormat;
    const std::size_t samplesPerBlock =
            static_cast<std::size_t>(format.blockLength) * format.channels;
    const std::size_t fileBlockBytes =
            samplesPerBlock * static_cast<std::size_t>(layout.fileBytesPerSample);
    std::vector<uint8_t> fileBlock(fileBlockBytes);
    std::vector<uint8_t> slotBlock(layout.packed() ? static_cast<std::size_t>(format.blockBytes())
                                                   : 0);
    const int64_t blocks = sizeError ? 0 : static_cast<int64_t>(fileLength / fileBlockBytes);

    m_fileReport.dataBytesClaimed = wave.dataBytes();
    m_fileReport.dataRecovered = wave.dataRecovered();
    m_fileReport.headerDataBytes = wave.headerDataBytes();
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
        // Panes drawn from band files that end here would shift in time against the notes.
        if (m_writers.writeFailed()) {
            m_fileReport.bandWriteFailed = true;
            m_fileReport.bandWriteError = m_writers.error();
            break;
        }
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
    std::error_code absoluteError;
    m_source = { std::filesystem::absolute(path, absoluteError), true, layout.format };
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

    if (!PcmFileLayout::analyzable(captureFormat)
        || !configureAnalyzer({ blockLengthForRate(captureFormat.sampleRate), captureFormat },
                              settings)) {
        m_writers.close();
        return false;
    }

    // The ring's blocks are raw capture blocks of whole frames of this format (a format changed
    // since the capture leaves the analysis empty); they are analyzed a hop at a time, whatever
    // their length, and a last partial hop is kept for saving but not analyzed.
    // The blocks are kept as they are for saving: the ring is refilled by the next capture.
    const std::filesystem::path copyPath = m_tempDir / kCaptureFileName;
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> copy(std::fopen(copyPath.c_str(), "wb"),
                                                          &std::fclose);
    if (!copy) {
        m_observer.message(std::string(kCannotOpenTemporaryFiles) + ": " + copyPath.string(),
                           AnalysisObserver::Icon::None);
        m_writers.close();
        return false;
    }
    bool copied = true;
    const auto hopBytes = static_cast<std::size_t>(m_blockFormat.blockBytes());
    const auto frameBytes = static_cast<std::size_t>(captureFormat.channels)
            * static_cast<std::size_t>(captureFormat.bytesPerSample());
    const auto ringBlock = static_cast<std::size_t>(ring.blockSize());
    std::vector<uint8_t> hop(hopBytes);
    std::size_t held = 0;
    // The tuner captures in hops, or in blocks (one result per block); a ring of other blocks
    // holds another format than the one asked for.
    const auto blockBytes = static_cast<std::size_t>(
            PcmFormat(blockLengthForRate(captureFormat.sampleRate), captureFormat).blockBytes());
    if (frameBytes > 0 && (ringBlock == hopBytes || ringBlock == blockBytes)
        && ring.oldestIndex() != ring.newestIndex()) {
        // nextIndex stays put on the last whole block, the one before the block being written.
        for (int32_t i = ring.oldestIndex();;) {
            const auto *block = reinterpret_cast<const uint8_t *>(ring.blockAddress(i));
            copied = copied && std::fwrite(block, 1, ringBlock, copy.get()) == ringBlock;
            for (std::size_t at = 0; at < ringBlock;) {
                const std::size_t n = std::min(hopBytes - held, ringBlock - at);
                std::memcpy(hop.data() + held, block + at, n);
                held += n;
                at += n;
                if (held == hopBytes) {
                    analyzeBlock(hop.data());
                    held = 0;
                }
            }
            const int32_t next = ring.nextIndex(i);
            if (next == i)
                break;
            i = next;
        }
    }
    copied = std::fclose(copy.release()) == 0 && copied;
    m_source = { copyPath, false, captureFormat };
    if (!copied) {
        // The analysis is whole; only saving it would lose sound, so saving says so then.
        m_source.format = SampleFormat {};
    }
    finish(settings);
    return true;
}

void RecordingAnalysis::finish(const AnalysisSettings &settings)
{
    finishResults();
    m_writers.close();
    postProcess(m_samples, settings.noiseThreshold, m_noteTable, m_blockFormat.blockLength);
    m_runs = buildNoteRuns(m_samples);
    m_settings = settings;
    m_loaded = true;
    if (m_bandFiles)
        openReaders();
}

namespace {

    // Samples are copied through a buffer of this many frames.
    constexpr std::size_t kCopyFrames = 16384;

    // The source's samples arrive as they lie in the file or the capture blocks; they leave as
    // the standard layout has them (24-bit packed in 3 bytes).
    struct SampleStream
    {
        WaveFileInput wave;
        std::unique_ptr<std::FILE, int (*)(std::FILE *)> raw { nullptr, &std::fclose };
        int32_t inBytesPerSample = 0;

        std::size_t read(uint8_t *out, std::size_t bytes) noexcept
        {
            return raw ? std::fread(out, 1, bytes, raw.get()) : wave.read(out, bytes);
        }
    };

    // Copies `frames` frames of `format` from `in` to `out`; false when either side failed.
    bool copySamples(FileReplacement &out, SampleStream &in, uint64_t frames,
                     const SampleFormat &format)
    {
        const auto channels = static_cast<std::size_t>(format.channels);
        const std::size_t inFrame = static_cast<std::size_t>(in.inBytesPerSample) * channels;
        const bool pack = format.bitsPerSample == 24 && in.inBytesPerSample == 4;
        const std::size_t outFrame = pack ? 3 * channels : inFrame;
        std::vector<uint8_t> buffer(kCopyFrames * inFrame);
        std::vector<uint8_t> packed(pack ? kCopyFrames * outFrame : 0);
        for (uint64_t done = 0; done < frames;) {
            const auto n = static_cast<std::size_t>(std::min<uint64_t>(kCopyFrames, frames - done));
            if (in.read(buffer.data(), n * inFrame) != n * inFrame)
                return false;
            const uint8_t *bytes = buffer.data();
            if (pack) {
                PcmFileLayout::pack24(buffer.data(), packed.data(), n * channels);
                bytes = packed.data();
            }
            if (!out.write(std::as_bytes(std::span(bytes, n * outFrame))))
                return false;
            done += n;
        }
        return true;
    }

} // namespace

bool RecordingAnalysis::save(const std::filesystem::path &path, FileFault fault)
{
    if (!m_loaded)
        return false;
    if (!m_source.format.valid()) {
        m_observer.message(std::string(kUnableToWrite)
                                   + "\nThe recorded samples could not be kept for saving: the "
                                     "temporary folder "
                                   + m_tempDir.string() + " could not take them.",
                           AnalysisObserver::Icon::Stop);
        return false;
    }
    // A device or folder given as the name is not replaced: the rename would take its place.
    std::error_code typeError;
    const auto type = std::filesystem::status(path, typeError).type();
    if (type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::regular
        && !typeError) {
        m_observer.message(std::string(kUnableToWrite) + "\n\"" + path.string()
                                   + "\" is not a regular file.",
                           AnalysisObserver::Icon::Stop);
        return false;
    }

    SampleStream in;
    uint64_t frames = 0;
    const int32_t channels = m_source.format.channels;
    if (m_source.wave) {
        if (in.wave.open(m_source.path) != WaveFileInput::Status::Ok
            || in.wave.layout().format != m_source.format) {
            m_observer.message(std::string(kUnableToWrite) + "\nThe recording's file \""
                                       + m_source.path.string()
                                       + "\" can no longer be read as it was opened.",
                               AnalysisObserver::Icon::Stop);
            return false;
        }
        in.inBytesPerSample = in.wave.layout().fileBytesPerSample;
        std::error_code sizeError;
        const uint64_t length = std::filesystem::file_size(m_source.path, sizeError);
        const uint64_t inFile = sizeError || length < in.wave.dataOffset()
                ? in.wave.dataBytes()
                : std::min<uint64_t>(in.wave.dataBytes(), length - in.wave.dataOffset());
        frames = inFile / (static_cast<uint64_t>(in.inBytesPerSample) * channels);
    } else {
        in.raw.reset(std::fopen(m_source.path.c_str(), "rb"));
        in.inBytesPerSample = m_source.format.bytesPerSample();
        std::error_code sizeError;
        const uint64_t length = std::filesystem::file_size(m_source.path, sizeError);
        if (!in.raw || sizeError) {
            m_observer.message(std::string(kUnableToWrite) + "\nThe recorded samples in \""
                                       + m_source.path.string() + "\" cannot be read.",
                               AnalysisObserver::Icon::Stop);
            return false;
        }
        frames = length / static_cast<uint64_t>(m_source.format.frameBytes());
    }

    const WaveFormat header = WaveFormat::pcm(m_source.format);
    const uint64_t dataBytes = frames * header.blockAlign;
    if (dataBytes > 0xFFFFFFFFu - 64) {
        m_observer.message(std::string(kUnableToWrite)
                                   + "\nThe recording is larger than a wave file can hold.",
                           AnalysisObserver::Icon::Stop);
        return false;
    }
    FileReplacement out(path, std::move(fault));
    // The first line says, as it always did, whether the file could not even be made.
    const char *firstLine = out.ok() ? kUnableToWrite : kUnableToOpen;
    const auto head = WaveFileHeader(header, static_cast<uint32_t>(dataBytes));
    bool ok = out.write(std::span<const std::byte>(head))
            && copySamples(out, in, frames, m_source.format);
    if (ok && (dataBytes & 1u)) {
        const std::byte pad { 0 };
        ok = out.write(std::span(&pad, 1));
    }
    ok = ok && out.commit();
    if (!ok) {
        const std::string cause =
                !out.error().empty() ? out.error() : "Reading the recording's samples failed.";
        m_observer.message(std::string(firstLine) + "\n" + cause, AnalysisObserver::Icon::Stop);
        return false;
    }
    // The saved file holds the recording now: later saves copy it, whatever becomes of the
    // file it was opened from, and a capture's own copy is no longer needed.
    in.raw.reset();
    in.wave.close();
    if (!m_source.wave) {
        std::error_code ignored;
        std::filesystem::remove(m_source.path, ignored);
    }
    std::error_code absoluteError;
    m_source = { std::filesystem::absolute(path, absoluteError), true, m_source.format };
    return true;
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
