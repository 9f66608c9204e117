#include "TuneCommand.h"

#include "ActiveTimeCounter.h"
#include "AudioFacade.h"
#include "CPitch.h"
#include "CTCDefs.h"
#include "CTuner.h"
#include "KeyContext.h"
#include "MessageService.h"
#include "RunClock.h"
#include "Version.h"
#include "VirtualBackend.h"

#include <ostream>

namespace corvane {

int runTuneCommand(const std::string &file, std::ostream &err)
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
    g_defs.SetCaptureFormat(virtualDevices.captureSource().samplesFormat);

    tuner::CTuner window({ g_defs, g_pitch, g_keyContext(), ActiveTimeCounter::instance(),
                           RunClock::instance() },
                         false);
    window.setWindowTitle(window.windowTitle() + QStringLiteral(" - ")
                          + QString::fromStdString(file));
    window.exec();
    audio::setDeviceErrorHandler(nullptr);
    return 0;
}

} // namespace corvane
