#include "AnalyzeCommand.h"

#include "AnalyzerPreferences.h"

#include "AnalysisReport.h"
#include "CPitch.h"
#include "CTCDefs.h"
#include "RecordingAnalysis.h"

#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>

namespace corvane {

namespace {

    constexpr const char *kProgram = "tonrik";
    // Recordings shorter than this finish before a progress line would be worth reading.
    constexpr double kProgressAfterSeconds = 5.0;

    volatile std::sig_atomic_t g_interrupted = 0;

    extern "C" void noteInterruption(int signal)
    {
        g_interrupted = signal;
    }

    // While an analysis runs, Ctrl-C, a hang-up or a termination request ends it early and
    // cleanly instead of killing the program, so that the private directory of band files
    // (hundreds of megabytes for a long recording) is still removed. The previous handlers come
    // back afterwards.
    class InterruptionGuard
    {
    public:
        InterruptionGuard()
        {
            g_interrupted = 0;
            struct sigaction action = {};
            action.sa_handler = noteInterruption;
            sigemptyset(&action.sa_mask);
            for (std::size_t i = 0; i < kSignals.size(); ++i)
                sigaction(kSignals[i], &action, &m_previous[i]);
        }
        ~InterruptionGuard()
        {
            for (std::size_t i = 0; i < kSignals.size(); ++i)
                sigaction(kSignals[i], &m_previous[i], nullptr);
        }
        InterruptionGuard(const InterruptionGuard &) = delete;
        InterruptionGuard &operator=(const InterruptionGuard &) = delete;

        static bool interrupted() noexcept { return g_interrupted != 0; }
        // The shell's status for a program ended by the signal: 128 + its number.
        static int exitStatus() noexcept { return 128 + static_cast<int>(g_interrupted); }

    private:
        static constexpr std::array<int, 3> kSignals { SIGINT, SIGTERM, SIGHUP };
        std::array<struct sigaction, 3> m_previous {};
    };

    // A private directory for the band files, removed with its contents.
    class PrivateTempDir
    {
    public:
        PrivateTempDir()
        {
            std::error_code error;
            const auto base = std::filesystem::temp_directory_path(error);
            std::string pattern =
                    ((error ? std::filesystem::path("/tmp") : base) / "tonrik-XXXXXX").string();
            if (mkdtemp(pattern.data()))
                m_path = pattern;
        }
        ~PrivateTempDir()
        {
            if (!m_path.empty()) {
                std::error_code ignored;
                std::filesystem::remove_all(m_path, ignored);
            }
        }
        PrivateTempDir(const PrivateTempDir &) = delete;
        PrivateTempDir &operator=(const PrivateTempDir &) = delete;

        bool valid() const noexcept { return !m_path.empty(); }
        const std::filesystem::path &path() const noexcept { return m_path; }

    private:
        std::filesystem::path m_path;
    };

    class StderrObserver : public AnalysisObserver
    {
    public:
        StderrObserver(std::ostream &err, bool terminal)
            : m_err(err)
            , m_terminal(terminal)
        {
        }

        void setAnalysis(const RecordingAnalysis *analysis) noexcept { m_analysis = analysis; }

        void message(const std::string &text, Icon) override
        {
            m_err << kProgram << ": " << text << '\n';
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

        bool stopRequested() const override { return InterruptionGuard::interrupted(); }

        void progressEnd() override
        {
            if (m_showing)
                m_err << "\r\033[K" << std::flush;
            m_showing = false;
        }

    private:
        std::ostream &m_err;
        bool m_terminal;
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

    CTCDefs loadSettings(std::ostream &err)
    {
        CTCDefs defs;
        std::error_code error;
        // Only read: a command-line run leaves no defaults file behind.
        if (std::filesystem::is_regular_file(kDefaultsFileName, error)) {
            defs.LoadDefaultsFile([&err](const std::string &message) {
                err << kProgram << ": " << message << '\n';
            });
        }
        return defs;
    }

    // Analyzes `file` in a private temporary directory, removed again before this returns, and
    // fills `report`. False after the failure has been reported to `err`.
    bool analyze(const std::string &file, const AnalysisSettings &settings, AnalysisReport &report,
                 std::ostream &err, bool errIsTerminal)
    {
        PrivateTempDir tempDir;
        if (!tempDir.valid()) {
            err << kProgram << ": " << RecordingAnalysis::kCannotOpenTemporaryFiles << '\n';
            return false;
        }
        StderrObserver observer(err, errIsTerminal);
        RecordingAnalysis analysis(tempDir.path(), observer);
        observer.setAnalysis(&analysis);
        if (!analysis.openAndAnalyze(file, settings))
            return false;

        report.describe(analysis, settings);
        analysis.clear();
        return true;
    }

} // namespace

int runAnalyzeCommand(const AnalyzeOptions &options, std::ostream &out, std::ostream &err,
                      bool errIsTerminal)
{
    const CTCDefs defs = loadSettings(err);
    AnalysisSettings settings = AnalysisSettings::from(defs);
    settings.classic = AnalyzerPreferences::load().classic;
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
        return 2;
    }
    if (!CPitch::IsValidReference(settings.referenceHz)) {
        err << kProgram << ": " << number(settings.referenceHz) << " Hz cannot be the reference\n";
        return 2;
    }

    // The report is complete, and the band files are gone, before the first byte goes out: a
    // reader that stops early (`| head`) ends the program on a broken pipe, which would leave
    // the private directory behind.
    AnalysisReport report;
    {
        const InterruptionGuard guard;
        if (!analyze(options.file, settings, report, err, errIsTerminal)) {
            if (!InterruptionGuard::interrupted())
                return 1;
            err << kProgram << ": interrupted\n";
            return InterruptionGuard::exitStatus();
        }
    }

    if (options.json)
        report.writeJson(out, options.notes);
    else
        report.writeCsv(out, options.notes);
    out.flush();
    if (!out) {
        err << kProgram << ": cannot write the analysis\n";
        return 1;
    }
    return 0;
}

} // namespace corvane
