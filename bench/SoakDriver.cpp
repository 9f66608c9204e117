// Runs one long-running mode of the program for a stated time, offscreen, on the virtual sound
// devices, and prints its resident memory and CPU time as it goes and a summary at the end:
//     corvane_soak tuner    SECONDS FILE.wav   the tuner hearing FILE in real time, three drones on
//     corvane_soak record   SECONDS FILE.wav   the same, recording a take all the while
//     corvane_soak window   SECONDS FILE.wav   the main window opening and closing FILE 500 times,
//                                              then playing it in a loop for SECONDS
//     corvane_soak log      RUNS               a practice log of RUNS runs loaded, summarized and
//                                              printed to PDF, timed
// `make soak` runs them all. Work files go to a private temporary folder, removed at the end.

#include "AudioDevices.h"
#include "AudioFacade.h"
#include "CMainFrame.h"
#include "CSplashWnd.h"
#include "CTuner.h"
#include "LogOptions.h"
#include "LogPrintJob.h"
#include "PracticeClocks.h"
#include "ProgramState.h"
#include "ProgramTunerDialogs.h"
#include "RecordingWindow.h"
#include "ScriptedMessageService.h"
#include "TempDir.h"
#include "TunerEngine.h"
#include "VirtualBackend.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>
#include <QTimer>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace corvane;

namespace {

// Resident memory now, in MB.
double residentMegabytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0.0;
}

// CPU time used so far (user and system), in seconds.
double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Sample
{
    double seconds;
    double megabytes;
    double cpu;
};

// Samples memory and CPU every ten seconds while the event loop runs, prints each minute's, and
// at the end the summary: memory at the start and the end, its slope (a least-squares line
// through the samples after the first minute, which is warm-up) and the CPU time per minute.
class Soak
{
public:
    explicit Soak(std::string mode)
        : m_mode(std::move(mode))
    {
        m_clock.start();
        sample();
        QObject::connect(&m_timer, &QTimer::timeout, [this] { sample(); });
        m_timer.start(10'000);
    }

    void sample()
    {
        const Sample s { m_clock.elapsed() / 1000.0, residentMegabytes(), cpuSeconds() };
        m_samples.push_back(s);
        if (m_samples.size() % 6 == 1)
            std::printf("%s  %6.0f s  RSS %7.2f MB  CPU %7.2f s\n", m_mode.c_str(), s.seconds,
                        s.megabytes, s.cpu);
        std::fflush(stdout);
    }

    // The summary: memory at the start, after the first minute (warm-up: the analyzer's buffers,
    // the fonts, the devices' rings) and at the end; the slope of a least-squares line through
    // the samples after the first minute; the CPU time per minute after the first minute.
    void summarize()
    {
        sample();
        const Sample &first = m_samples.front();
        const Sample &last = m_samples.back();
        const Sample *warm = &last;
        double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
        for (const Sample &s : m_samples) {
            if (s.seconds < 60.0)
                continue;
            if (n == 0)
                warm = &s;
            const double hours = s.seconds / 3600.0;
            n += 1;
            sx += hours;
            sy += s.megabytes;
            sxx += hours * hours;
            sxy += hours * s.megabytes;
        }
        const double slope = n >= 2 ? (n * sxy - sx * sy) / (n * sxx - sx * sx) : 0.0;
        const double minutes = (last.seconds - warm->seconds) / 60.0;
        std::printf("%s: %.1f min; RSS %.2f MB at the start, %.2f MB after a minute, %.2f MB at "
                    "the end; slope %+.2f MB/h; CPU %.2f s/min\n",
                    m_mode.c_str(), (last.seconds - first.seconds) / 60.0, first.megabytes,
                    warm->megabytes, last.megabytes, slope,
                    minutes > 0 ? (last.cpu - warm->cpu) / minutes : 0.0);
        std::fflush(stdout);
    }

private:
    std::string m_mode;
    QElapsedTimer m_clock;
    QTimer m_timer;
    std::vector<Sample> m_samples;
};

bool useVirtualDevices(ProgramState &program, const std::string &file)
{
    audio::VirtualBackend &devices = audio::VirtualBackend::instance();
    std::string why;
    if (!devices.setCaptureWaveFile(file, true, why)) {
        std::fprintf(stderr, "corvane_soak: %s: %s\n", file.c_str(), why.c_str());
        return false;
    }
    devices.setPacing(audio::VirtualPacing::RealTime);
    audio::setCaptureDevice(audio::VirtualBackend::captureDeviceId());
    audio::setPlaybackDevice(audio::VirtualBackend::playbackDeviceId());
    program.settings.SetCaptureFormat(devices.captureSource().samplesFormat);
    program.settings.SetPlaybackFormat(devices.captureSource().samplesFormat);
    return true;
}

int soakTuner(ProgramState &program, PracticeClocks &clocks, double seconds, bool recording)
{
    ProgramTunerDialogs dialogs(program);
    tuner::CTuner window(
            { program.settings, program.noteTable, program.keys, clocks.active, clocks.run },
            recording, dialogs);
    Soak soak(recording ? "record" : "tuner");
    window.show();
    // Once the window has started its devices, the drones of a C major triad sound all the while.
    QTimer::singleShot(500, &window, [&] {
        for (int degree : { 0, 4, 7 })
            window.engine().toggleTone(degree);
    });
    QTimer::singleShot(int(seconds * 1000), &window, [&] {
        soak.summarize();
        std::printf(
                "%s: drones on: %d, last reading \"%s\", %llu blocks heard, %llu played\n",
                recording ? "record" : "tuner",
                int(window.engine().toneOn(0) + window.engine().toneOn(4)
                    + window.engine().toneOn(7)),
                window.readoutText().simplified().toStdString().c_str(),
                static_cast<unsigned long long>(audio::AudioDevices::instance().blocksCaptured()),
                static_cast<unsigned long long>(audio::AudioDevices::instance().playbackRefills()));
        if (recording) {
            std::error_code unknown;
            std::printf("record: the take holds %.1f MB\n",
                        double(std::filesystem::file_size("tune0000.wav", unknown)) / 1e6);
        }
        window.accept();
    });
    QApplication::exec();
    return window.recordingState() == tuner::RecordingState::Recording || !recording ? 0 : 1;
}

int soakWindow(ProgramState &program, PracticeClocks &clocks, double seconds, const QString &file)
{
    CSplashWnd::EnableSplashScreen(false);
    CMainFrame frame({ program, clocks });
    frame.show();
    RecordingWindow &recording = *frame.recordingWindow();
    QElapsedTimer opening;
    opening.start();
    double afterTen = 0.0;
    const double before = residentMegabytes();
    for (int i = 1; i <= 500; ++i) {
        if (!recording.openFile(file) || !recording.closeDocument()) {
            std::fprintf(stderr, "corvane_soak: open and close %d failed\n", i);
            return 1;
        }
        QCoreApplication::processEvents();
        if (i == 10)
            afterTen = residentMegabytes();
    }
    std::printf("window: 500 opens and closes in %.1f s; RSS %.2f MB before, %.2f MB after 10, "
                "%.2f MB after 500\n",
                opening.elapsed() / 1000.0, before, afterTen, residentMegabytes());
    Soak soak("playback");
    // Loop on the toolbar, as the user starts it.
    if (recording.openFile(file))
        frame.action(CMainFrame::Command::Loop)->trigger();
    if (!frame.state().looping()) {
        std::fprintf(stderr, "corvane_soak: playback would not start\n");
        return 1;
    }
    QTimer::singleShot(int(seconds * 1000), &frame, [&] {
        soak.summarize();
        std::printf(
                "playback: %llu refills of the playback device, still looping: %s\n",
                static_cast<unsigned long long>(audio::AudioDevices::instance().playbackRefills()),
                frame.state().looping() ? "yes" : "no");
        frame.action(CMainFrame::Command::Loop)->trigger();
        QApplication::quit();
    });
    return QApplication::exec();
}

int soakLog(ProgramState &program, const PracticeClocks &clocks, int runs)
{
    // Every listing and summary, so that every run is printed.
    program.settings.SetLogOptions(logoption::kCompleteSummary | logoption::kCompleteLog);
    {
        // Oldest first, one run every three hours back from an hour ago.
        std::ofstream log("corvlog.txt");
        const long now = long(std::time(nullptr));
        for (long i = runs; i > 0; --i) {
            const long end = now - 3600 - 3 * 3600 * (i - 1);
            log << end - 1500 << ' ' << end << ' ' << 900 << '\n';
        }
    }
    const double before = residentMegabytes();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("log.pdf"));
    QElapsedTimer clock;
    clock.start();
    const LogPrintJob job = LogPrintJob::ofProgram(printer, clocks, program);
    const double loaded = clock.elapsed() / 1000.0;
    const bool printed = job.print(printer);
    const double total = clock.elapsed() / 1000.0;
    std::printf("log: %d runs loaded and summarized in %.3f s, %d pages printed to PDF in %.3f s "
                "more; RSS %.2f MB before, %.2f MB after\n",
                runs, loaded, job.pageCount(), total - loaded, before, residentMegabytes());
    return printed ? 0 : 1;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: corvane_soak tuner|record|window SECONDS FILE.wav\n"
                 "       corvane_soak log RUNS\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3)
        return usage();
    const std::string mode = argv[1];
    const double amount = std::atof(argv[2]);
    const std::string file = argc > 3 ? std::filesystem::absolute(argv[3]).string() : "";
    // Boxes are answered, never shown: a soak has nobody to click them. Each is printed.
    widgets::ScriptedMessageService messages;
    widgets::MessageServiceOverride messageOverride { messages };
    const test::TempWorkingDir work;
    ProgramState program;
    PracticeClocks clocks;
    int status = 2;
    if (mode == "log")
        status = soakLog(program, clocks, int(amount));
    else if (file.empty() || amount <= 0)
        return usage();
    else if (!useVirtualDevices(program, file))
        return 1;
    else if (mode == "tuner" || mode == "record")
        status = soakTuner(program, clocks, amount, mode == "record");
    else if (mode == "window")
        status = soakWindow(program, clocks, amount, QString::fromStdString(file));
    else
        return usage();
    for (const auto &box : messages.shown)
        std::fprintf(stderr, "%s: box \"%s\"\n", mode.c_str(), box.text.toStdString().c_str());
    return status;
}
