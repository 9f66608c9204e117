#include "ListenCommand.h"

#include "AnalyzeCommand.h"
#include "AudioDevices.h"
#include "BlockLength.h"
#include "KeyContext.h"
#include "LiveAnalyzer.h"
#include "LiveRows.h"
#include "RecordCommand.h"
#include "ScalaOption.h"
#include "TerminationSignals.h"
#include "VirtualBackend.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <ostream>

namespace corvane {

namespace {

    constexpr const char *kProgram = "tonrik";
    // The longest the main thread waits for a reading before it looks again for a termination
    // signal and the end of the time asked for; a reading wakes it at once.
    constexpr std::chrono::milliseconds kWatch { 100 };
    // What the device may still deliver after the end of a file it plays: the last blocks.
    constexpr double kTailSeconds = 0.25;

    // A write to a pipe whose reader has gone fails with EPIPE instead of killing the program,
    // so that the devices stop by their own path. The previous handling comes back afterwards.
    class IgnoredBrokenPipe
    {
    public:
        IgnoredBrokenPipe()
        {
            struct sigaction ignore = {};
            ignore.sa_handler = SIG_IGN;
            sigemptyset(&ignore.sa_mask);
            sigaction(SIGPIPE, &ignore, &m_previous);
        }
        ~IgnoredBrokenPipe() { sigaction(SIGPIPE, &m_previous, nullptr); }
        IgnoredBrokenPipe(const IgnoredBrokenPipe &) = delete;
        IgnoredBrokenPipe &operator=(const IgnoredBrokenPipe &) = delete;

    private:
        struct sigaction m_previous = {};
    };

    // Where the sound comes from, and how long it lasts at most (0: no end of its own).
    struct Source
    {
        audio::DeviceChoice device;
        SampleFormat format;
        double seconds = 0.0;
    };

    std::optional<Source> chooseSource(const ListenOptions &options, const CTCDefs &defs,
                                       std::ostream &err)
    {
        Source source;
        source.format = defs.GetCaptureFormat();
        std::string why;
        if (!options.from.empty()) {
            audio::VirtualBackend &virtualDevices = audio::VirtualBackend::instance();
            if (!virtualDevices.setCaptureWaveFile(options.from, false, why)) {
                err << kProgram << ": " << options.from << ": " << why << '\n';
                return std::nullopt;
            }
            const audio::VirtualCaptureSource &file = virtualDevices.captureSource();
            source.format = file.samplesFormat;
            virtualDevices.setPacing(audio::VirtualPacing::RealTime);
            source.device = audio::VirtualBackend::captureDeviceId();
            source.seconds = static_cast<double>(file.samples->size())
                            / static_cast<double>(source.format.frameBytes()
                                                  * int64_t { source.format.sampleRate })
                    + kTailSeconds;
        } else if (!options.device.empty()) {
            source.device = findCaptureDevice(options.device, why);
            if (!source.device) {
                err << kProgram << ": " << why << '\n';
                return std::nullopt;
            }
        }
        if (options.seconds)
            source.seconds = source.seconds > 0.0 ? std::min(source.seconds, *options.seconds)
                                                  : *options.seconds;
        return source;
    }

    // Writes one whole line and flushes it; false when the stream has failed.
    bool writeRow(std::ostream &out, const AnalysisReport::SampleRow &row, bool json)
    {
        if (json) {
            AnalysisReport::writeJsonRow(out, row);
            out << '\n';
        } else {
            AnalysisReport::writeCsvRow(out, row);
        }
        out.flush();
        return static_cast<bool>(out);
    }

} // namespace

int runListenCommand(const ListenOptions &options, std::ostream &out, std::ostream &err)
{
    CTCDefs defs = loadCommandSettings(options.analysis.settingsFolder, err);
    std::optional<AnalysisSettings> settings = analysisSettingsFor(options.analysis, defs, err);
    if (!settings)
        return 2;
    const KeyContext keys(defs);
    bool unusableScale = false;
    const std::optional<PitchClassCents> temperament =
            commandLineTemperament(options.analysis, keys, *settings, err, unusableScale);
    if (unusableScale)
        return 2;
    const std::optional<Source> source = chooseSource(options, defs, err);
    if (!source)
        return 1;
    const PcmFormat format { blockLengthForRate(source->format.sampleRate), source->format };
    std::unique_ptr<LiveAnalyzer> analyzer;
    try {
        analyzer = std::make_unique<LiveAnalyzer>(format, *settings);
    } catch (const std::exception &error) {
        err << kProgram << ": the analyzer cannot take this format: " << error.what() << '\n';
        return 1;
    }
    LiveRows rows(format.sampleRate, settings->noiseThreshold, settings->referenceHz,
                  analyzer->delaySeconds());
    if (temperament)
        rows.setTemperament(*temperament);

    // From the first line on: a reader gone already (`| head -0`) ends the run by its own path.
    const TerminationSignals signalGuard;
    const IgnoredBrokenPipe pipeGuard;
    const bool json = options.analysis.json;
    AnalysisReport described;
    described.latencySeconds = analyzer->delaySeconds();
    described.settings = AnalysisReport::settingsList(*settings, settings->referenceHz, format);
    if (options.analysis.verbose)
        described.writeComments(err);
    if (!json) {
        if (options.analysis.comments)
            described.writeComments(out);
        AnalysisReport::writeCsvHeader(out);
        out.flush();
    }

    audio::AudioDevices &devices = audio::AudioDevices::instance();
    bool deviceFailed = false;
    devices.setErrorHandler([&](const std::string &message) {
        deviceFailed = true;
        err << kProgram << ": " << message << '\n';
    });
    devices.setCaptureFormat(source->format, analyzer->hopFrames());
    devices.setCaptureDevice(source->device);

    std::string why;
    if (!devices.openCapture(*analyzer)) {
        devices.setErrorHandler(nullptr);
        return 1;
    }
    if (!devices.startCapture(false, &why)) {
        devices.stopCapture();
        devices.setErrorHandler(nullptr);
        err << kProgram << ": " << why << '\n';
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    bool writing = static_cast<bool>(out);
    // As --analyze: a block that ended before the sound began (while the analyzer's delay lines
    // filled) describes nothing that was played, and gives no row; it still counts as the
    // neighbour of the first one.
    const double blockSeconds = analyzer->blockSeconds();
    const auto emit = [&](const std::optional<AnalysisReport::SampleRow> &row) {
        if (row && writing && row->timeSeconds + blockSeconds > 1e-9)
            writing = writeRow(out, *row, json);
    };
    const auto more = [&] {
        return writing && !deviceFailed && TerminationSignals::received() == 0
                && (source->seconds <= 0.0 || elapsed() < source->seconds);
    };
    while (more()) {
        BlockReading reading;
        if (!analyzer->take(reading)) {
            analyzer->waitForReading(std::chrono::steady_clock::now() + kWatch);
            continue;
        }
        emit(rows.add(reading));
    }
    const int writeError = errno;
    devices.stopCapture();
    devices.setErrorHandler(nullptr);
    // The blocks analyzed before the end are printed too; a signal does not cut a line.
    if (writing) {
        BlockReading reading;
        while (writing && analyzer->take(reading))
            emit(rows.add(reading));
        emit(rows.finish());
    }
    if (analyzer->dropped() > 0)
        err << kProgram << ": " << analyzer->dropped()
            << " blocks were analyzed but not printed: the output was read too slowly\n";
    if (!writing && writeError != EPIPE && errno != EPIPE) {
        err << kProgram << ": cannot write the readings\n";
        return 1;
    }
    return deviceFailed ? 1 : 0;
}

} // namespace corvane
