#include "TuneCommand.h"

#include "AudioFacade.h"
#include "CTuner.h"
#include "MessageService.h"
#include "PracticeClocks.h"
#include "ProgramState.h"
#include "ProgramTunerDialogs.h"
#include "TerminationSignals.h"
#include "Version.h"
#include "VirtualBackend.h"

#include <QTimer>

#include <ostream>

namespace corvane {

namespace {

    // How often the window looks for a signal and a new reading: well below the tuner's own
    // display period.
    constexpr int kWatchMilliseconds = 50;

} // namespace

int runTuneCommand(ProgramState &program, PracticeClocks &clocks, const std::string &file,
                   std::optional<double> seconds, std::ostream &out, std::ostream &err)
{
    audio::VirtualBackend &virtualDevices = audio::VirtualBackend::instance();
    std::string why;
    if (!virtualDevices.setCaptureWaveFile(file, true, why)) {
        err << kProgramName << ": " << file << ": " << why << '\n';
        return 1;
    }
    virtualDevices.setPacing(audio::VirtualPacing::RealTime);
    audio::setCaptureDevice(audio::VirtualBackend::captureDeviceId());
    audio::setPlaybackDevice(audio::VirtualBackend::playbackDeviceId());
    audio::setDeviceErrorHandler([](const std::string &message) {
        widgets::messages().error(nullptr, QString::fromStdString(message));
    });
    // The virtual device opens only in the file's own format.
    program.settings.SetCaptureFormat(virtualDevices.captureSource().samplesFormat);

    const TerminationSignals signalGuard;
    ProgramTunerDialogs dialogs(program);
    tuner::CTuner window({ program.settings, program.noteTable, program.keys, clocks.active,
                           clocks.run, program.folders },
                         false, dialogs);
    window.setWindowTitle(window.windowTitle() + QStringLiteral(" - ")
                          + QString::fromStdString(file));

    // Parented to the window: both go when the window does.
    auto *watch = new QTimer(&window);
    QString shown;
    QObject::connect(watch, &QTimer::timeout, &window, [&] {
        if (TerminationSignals::received() != 0) {
            window.reject();
            return;
        }
        if (!seconds)
            return;
        const QString reading = window.readoutText();
        if (reading != shown && !reading.isEmpty())
            out << reading.toStdString() << std::endl;
        shown = reading;
    });
    watch->start(kWatchMilliseconds);
    if (seconds)
        QTimer::singleShot(static_cast<int>(*seconds * 1000.0), &window, &QDialog::accept);

    window.exec();
    audio::setDeviceErrorHandler(nullptr);
    return TerminationSignals::exitStatus();
}

} // namespace corvane
