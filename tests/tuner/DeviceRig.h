#pragma once

// The virtual devices set up for an engine test: capture hears a steady tone, playback keeps
// what it is given, both run as fast as the engine takes and gives. Undone at the end.

#include "AudioDevices.h"
#include "AudioFacade.h"
#include "TunerTestKit.h"
#include "VirtualBackend.h"

#include "TempDir.h"
#include "VirtualToneDevices.h"

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace corvane::tuner::test {

class DeviceRig
{
public:
    explicit DeviceRig(double toneHz = 440.0)
        : tone(toneHz)
    {
        audio::setDeviceErrorHandler([this](const std::string &m) { deviceMessages.push_back(m); });
    }
    ~DeviceRig()
    {
        rig.engine.reset(); // stops the devices
        audio::setDeviceErrorHandler(nullptr);
        audio::AudioDevices::instance().setRecordingFileFactory(nullptr);
    }

    TunerEngine &engine() { return *rig.engine; }

    // Runs display updates (as the window's timer would, only faster) until `done` holds for
    // one of them; false after ten seconds.
    bool updateUntil(const std::function<bool(const TunerUpdate &)> &done)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            last = engine().update();
            if (done(last))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    corvane::test::TempWorkingDir dir;      // the recording file lands here
    corvane::test::VirtualToneDevices tone; // before the engine, so that it goes after it
    EngineRig rig;
    TunerUpdate last;
    std::vector<std::string> deviceMessages;
};

} // namespace corvane::tuner::test
