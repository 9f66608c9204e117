#include "AnalyzeCommand.h"

#include "AnalyzerPreferences.h"

#include "AnalysisReport.h"
#include "CPitch.h"
#include "CTCDefs.h"
#include "IntonationSummary.h"
#include "KeyContext.h"
#include "NoteLookup.h"
#include "PcmFileLayout.h"
#include "PitchDialogRules.h"
#include "PrivateTempDir.h"
#include "RecordingAnalysis.h"
#include "ReferenceMeasurer.h"
#include "ScalaOption.h"
#include "TerminationSignals.h"
#include "WaveFile.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <system_error>

namespace corvane {

namespace {

    constexpr const char *kProgram = "tonrik";
    // Recordings shorter than this finish before a progress line would be worth reading.
    constexpr double kProgressAfterSeconds = 5.0;

    class StderrObserver : public AnalysisObserver
    {
    public:
        StderrObserver(std::ostream &err, bool terminal, std::string file)
            : m_err(err)
            , m_terminal(terminal)
            , m_file(std::move(file))
        {
        }

        void setAnalysis(const RecordingAnalysis *analysis) noexcept { m_analysis = analysis; }

        void message(const std::string &text, Icon) override
        {
            m_err << kProgram << ": " << text;
            // The window's box says only this much; a shell user wants the file and the cause.
            if (text == RecordingAnalysis::kNotPcm)
                m_err << ": " << m_file << notPcmCause();
            m_err << '\n';
        }

        void progressBegin(int64_t blocks) override
        {
            m_blocks = blocks;
            m_percent = -1;
            m_showing = false;
            if (!m_terminal || !m_analysis || blocks <= 0)
                return;
            const PcmFormat &format = m_analysis->blockFormat();
            const double seconds = static_cast<double>(blocks) * format.blockLength
                    / static_cast<double>(format.sampleRate);
            m_showing = seconds > kProgressAfterSeconds;
        }

        void progress(int64_t done) override
        {
            if (!m_showing)
                return;
            const int percent = static_cast<int>(std::min<int64_t>(100, done * 100 / m_blocks));
            if (percent == m_percent)
                return;
            m_percent = percent;
            m_err << "\rAnalyzing contents of the wave file... " << percent << '%' << std::flush;
        }

        bool stopRequested() const override { return TerminationSignals::received() != 0; }

        void progressEnd() override
        {
            if (m_showing)
                m_err << "\r\033[K" << std::flush;
            m_showing = false;
        }

    private:
        // " (3 channels; 1 or 2 are supported)", read again from the file's header.
        std::string notPcmCause() const
        {
            WaveReader reader;
            if (OpenWaveForReading(m_file, reader) != 0)
                return {};
            const std::string why = PcmFileLayout::refusal(reader.format());
            return why.empty() ? std::string() : " (" + why + ")";
        }

        std::ostream &m_err;
        bool m_terminal;
        std::string m_file;
        const RecordingAnalysis *m_analysis = nullptr;
        int64_t m_blocks = 0;
        int m_percent = -1;
        bool m_showing = false;
    };

    std::string number(double value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value);
        return text;
    }

    std::string seconds(double value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f s", value);
        return text;
    }

    std::string systemCause(int error)
    {
        std::string cause = error ? std::strerror(error) : "the disk failed to read";
        if (!cause.empty())
            cause[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(cause[0])));
        return cause;
    }

    // Says on `err` what of the file was not analyzed and why. False when the file could not be
    // read to its end: what was analyzed is printed, but the run has failed.
    bool reportReading(const RecordingAnalysis &analysis, const AnalyzeOptions &options,
                       std::ostream &err)
    {
        const RecordingAnalysis::FileReport &file = analysis.fileReport();
        const PcmFormat &format = analysis.blockFormat();
        const double analyzed = static_cast<double>(file.wholeBlocks) * format.blockLength
                / static_cast<double>(format.sampleRate);
        const std::string prefix = std::string(kProgram) + ": ";
        bool whole = true;
        if (file.dataRecovered) {
            const double recovered =
                    static_cast<double>(file.wholeBlocks * format.blockLength + file.leftoverFrames)
                    / static_cast<double>(format.sampleRate);
            err << prefix << options.file
                << ": its header was left unfinished (a recording killed or crashed); recovered "
                << seconds(recovered) << " of sound\n";
        }
        if (file.bandWriteFailed) {
            err << prefix << "cannot write the band files in " << analysis.tempDir().string()
                << ": " << systemCause(file.bandWriteError) << "; analyzed the first "
                << seconds(analyzed) << '\n';
            whole = false;
        }
        if (file.readError == RIFF_ERR_CANNOT_READ) {
            err << prefix << waveErrorPrefix(WAVE_ERR_READ) << options.file << ": "
                << systemCause(file.readSystemError) << "; analyzed the first " << seconds(analyzed)
                << '\n';
            whole = false;
        } else if (file.readError == WAVE_ERR_CORRUPT
                   || file.dataBytesInFile < file.dataBytesClaimed) {
            err << prefix << waveErrorPrefix(WAVE_ERR_CORRUPT) << options.file
                << ": its data chunk claims " << file.dataBytesClaimed
                << " bytes but the file holds " << file.dataBytesInFile
                << "; analyzed what is there (" << seconds(analyzed) << ")\n";
        }
        if (file.wholeBlocks == 0) {
            err << prefix << options.file << ": shorter than one analysis block ("
                << file.leftoverFrames << " of " << format.blockLength
                << " frames); there is nothing to analyze\n";
        }
        // A channel this quiet holds nothing but the last bit's noise.
        constexpr double kSilent = 1.0 / 8192.0;
        if (file.channels == 2 && options.channel == StereoChannel::Left && file.peaks[0] <= kSilent
            && file.peaks[1] > kSilent) {
            err << prefix << options.file
                << ": the left channel is silent and the right is not; try --channel right\n";
        }
        if (file.channels == 1 && options.channel != StereoChannel::Left) {
            err << prefix << options.file
                << ": one channel only; --channel has nothing to choose from\n";
        }
        return whole;
    }

    // Where the band files go, if anywhere: none for the rows alone, a private temporary folder
    // (removed again) for a picture, the current folder when they are to be kept.
    struct BandFolder
    {
        std::unique_ptr<PrivateTempDir> privateDir;
        std::filesystem::path path;
        bool bandFiles = false;
    };

    std::optional<BandFolder> bandFolder(const AnalyzeOptions &options, std::ostream &err)
    {
        BandFolder folder;
        folder.path = std::filesystem::current_path();
        if (options.keepBands) {
            folder.bandFiles = true;
        } else if (!options.pngFile.empty()) {
            folder.privateDir = std::make_unique<PrivateTempDir>();
            if (!folder.privateDir->valid()) {
                err << kProgram << ": " << RecordingAnalysis::kCannotOpenTemporaryFiles << '\n';
                return std::nullopt;
            }
            folder.path = folder.privateDir->path();
            folder.bandFiles = true;
        }
        return folder;
    }

    const char *channelName(StereoChannel channel) noexcept
    {
        switch (channel) {
        case StereoChannel::Left:
            return "left";
        case StereoChannel::Right:
            return "right";
        case StereoChannel::Mix:
            break;
        }
        return "mix";
    }

    enum class Outcome { Analyzed, ReadFailed, Failed };

    // The reference that puts the first note `note` held steadily in the rows in tune (in the
    // temperament, when there is one), said on `err`; nothing, after saying why, when no such
    // note is there or its reference is out of the range the program takes.
    std::optional<double> referenceFromNote(const AnalysisReport &report, int note,
                                            const std::optional<PitchClassCents> &temperament,
                                            const AnalyzeOptions &options, std::ostream &err)
    {
        const double offset = temperament ? (*temperament)[std::size_t(note % 12)] : 0.0;
        double reference = 0.0;
        for (const auto &[key, value] : report.settings)
            if (key == "reference_hz")
                reference = std::strtod(value.c_str(), nullptr);
        ReferenceMeasurer measurer(note, offset, reference);
        double blockSeconds = 0.0;
        if (report.samples.size() > 1)
            blockSeconds = report.samples[1].timeSeconds - report.samples[0].timeSeconds;
        double heardFrom = 0.0;
        for (const AnalysisReport::SampleRow &row : report.samples) {
            if (measurer.done())
                break;
            const bool listening = measurer.state() == ReferenceMeasurer::State::Listening;
            measurer.add(row.pitchHz, row.stable, blockSeconds);
            if (listening && measurer.state() != ReferenceMeasurer::State::Listening)
                heardFrom = row.timeSeconds;
        }
        const std::string name = noteNameInCMajor(note);
        const auto state = measurer.state();
        if (state == ReferenceMeasurer::State::Listening
            || state == ReferenceMeasurer::State::Settling) {
            err << kProgram << ": " << options.file << ": no " << name << " held steadily for "
                << number(ReferenceMeasurer::kSettleSeconds)
                << " s or more; the reference stays as it was\n";
            return std::nullopt;
        }
        char figures[160];
        std::snprintf(figures, sizeof figures,
                      "the %s at %.2f s, %.3f Hz (the median of its steady readings), gives the "
                      "reference %.3f Hz",
                      name.c_str(), heardFrom, measurer.measuredHz(), measurer.referenceHz());
        if (state == ReferenceMeasurer::State::OutOfRange) {
            err << kProgram << ": " << figures << ": " << kInvalidReferenceText << '\n';
            return std::nullopt;
        }
        err << kProgram << ": " << figures << '\n';
        return measurer.referenceHz();
    }

    // Analyzes the file, fills `report` and draws the picture (its staff in `keys`) while the
    // band files exist. The private folder is gone again before this returns.
    Outcome analyze(const AnalyzeOptions &options, const AnalysisSettings &settings,
                    const KeyContext &keys, AnalysisReport &report, std::ostream &err,
                    bool errIsTerminal, const AnalysisPictureWriter &picture)
    {
        std::optional<BandFolder> folder = bandFolder(options, err);
        if (!folder)
            return Outcome::Failed;
        StderrObserver observer(err, errIsTerminal, options.file);
        RecordingAnalysis analysis(folder->path, observer);
        observer.setAnalysis(&analysis);
        analysis.setFileOptions({ options.channel, folder->bandFiles });
        if (!analysis.openAndAnalyze(options.file, settings))
            return Outcome::Failed;

        const bool whole = reportReading(analysis, options, err);
        report.describe(analysis);
        // Which of a stereo file's channels the rows describe belongs with the settings.
        if (analysis.fileReport().channels == 2)
            report.settings.emplace_back("channel", channelName(options.channel));
        if (!options.pngFile.empty()) {
            if (!picture) {
                err << kProgram << ": this build cannot draw pictures\n";
                return Outcome::Failed;
            }
            if (!picture(analysis, keys, options, err))
                return Outcome::Failed;
        }
        analysis.clear();
        return whole ? Outcome::Analyzed : Outcome::ReadFailed;
    }

} // namespace

CTCDefs loadCommandSettings(const std::filesystem::path &folder, std::ostream &err)
{
    CTCDefs defs;
    std::error_code error;
    // Only read: a command-line run leaves no defaults file behind.
    const std::filesystem::path file = folder / kDefaultsFileName;
    if (std::filesystem::is_regular_file(file, error)) {
        defs.LoadDefaultsFile(
                [&err](const std::string &message) { err << kProgram << ": " << message << '\n'; },
                file);
    }
    return defs;
}

std::optional<AnalysisSettings> analysisSettingsFor(const AnalyzeOptions &options,
                                                    const CTCDefs &defs, std::ostream &err)
{
    AnalysisSettings settings = AnalysisSettings::from(defs);
    const AnalyzerPreferences preferences =
            AnalyzerPreferences::load(options.settingsFolder / AnalyzerPreferences::kFileName);
    settings.classic = preferences.classic;
    settings.blockHop = options.blockHop.value_or(preferences.blockHop);
    if (options.filterLength)
        settings.filterLength = *options.filterLength;
    if (options.sensitivity)
        settings.sensitivity = *options.sensitivity;
    if (options.lowestHz)
        settings.lowestHz = *options.lowestHz;
    if (options.highestHz)
        settings.highestHz = *options.highestHz;
    if (options.noiseThreshold)
        settings.noiseThreshold = *options.noiseThreshold;
    if (options.referenceHz)
        settings.referenceHz = *options.referenceHz;
    if (options.classic)
        settings.classic = true;

    if (!(settings.lowestHz > 0.0) || settings.lowestHz >= settings.highestHz) {
        err << kProgram << ": the lowest frequency must lie above 0 and below the highest\n";
        return std::nullopt;
    }
    if (!CPitch::IsValidReference(settings.referenceHz)) {
        err << kProgram << ": " << number(settings.referenceHz) << " Hz cannot be the reference\n";
        return std::nullopt;
    }
    return settings;
}

int runAnalyzeCommand(const AnalyzeOptions &options, std::ostream &out, std::ostream &err,
                      bool errIsTerminal, const AnalysisPictureWriter &picture)
{
    CTCDefs defs = loadCommandSettings(options.settingsFolder, err);
    // The picture's staff reads the clef and transposition of these settings, not the program's.
    const KeyContext keys(defs);
    std::optional<AnalysisSettings> chosen = analysisSettingsFor(options, defs, err);
    if (!chosen)
        return 2;
    bool unusableScale = false;
    const std::optional<PitchClassCents> temperament =
            commandLineTemperament(options, keys, *chosen, err, unusableScale);
    if (unusableScale)
        return 2;
    AnalysisSettings &settings = *chosen;

    // The report is complete, and the band files are gone, before the first byte goes out: a
    // reader that stops early (`| head`) ends the program on a broken pipe, which would leave
    // the private directory behind.
    AnalysisReport report;
    Outcome outcome = Outcome::Failed;
    {
        const TerminationSignals guard;
        if (options.referenceNote) {
            // A first pass finds the note; the rows are then named on the reference it gives.
            AnalyzeOptions plain = options;
            plain.pngFile.clear();
            plain.keepBands = false;
            // What the first pass says about the file (a recovered header, say) is said once,
            // by the second.
            std::ostringstream firstSays;
            outcome = analyze(plain, settings, keys, report, firstSays, false, picture);
            if (outcome == Outcome::Failed)
                err << firstSays.str();
            else {
                const std::optional<double> reference = referenceFromNote(
                        report, *options.referenceNote, temperament, options, err);
                if (!reference)
                    return 1;
                settings.referenceHz = *reference;
            }
        }
        if (outcome != Outcome::Failed || !options.referenceNote)
            outcome = analyze(options, settings, keys, report, err, errIsTerminal, picture);
        if (outcome == Outcome::Failed) {
            if (TerminationSignals::received() == 0)
                return 1;
            err << kProgram << ": interrupted\n";
            return TerminationSignals::exitStatus();
        }
    }

    if (temperament) {
        for (AnalysisReport::SampleRow &row : report.samples)
            temper(row, *temperament);
        for (AnalysisReport::NoteRow &row : report.notes)
            temper(row, *temperament);
    }
    if (options.verbose)
        report.writeComments(err);
    if (options.summary) {
        // The in-tune zone of the pinwheels' middle, in the settings the analysis ran with.
        const auto summary = IntonationSummary::of(report, defs.GetPinwheelThresholds()[2]);
        if (options.comments && !options.json)
            report.writeComments(out);
        options.json ? summary.writeJson(out) : summary.writeCsv(out);
    } else if (options.json) {
        report.writeJson(out, options.notes);
    } else {
        report.writeCsv(out, options.notes, options.comments);
    }
    out.flush();
    if (!out) {
        err << kProgram << ": cannot write the analysis\n";
        return 1;
    }
    return outcome == Outcome::Analyzed ? 0 : 1;
}

} // namespace corvane
