#pragma once

// What a tuner window under test works on: the program's state at 44.1 kHz mono (or the rate
// given), a run clock that stands still, and a message service whose boxes the test reads and
// answers instead of a user.

#include "ActiveTimeCounter.h"
#include "CPitch.h"
#include "CTCDefs.h"
#include "CTuner.h"
#include "KeyContext.h"
#include "RunClock.h"
#include "TunerDialogs.h"
#include "TunerTestKit.h"

#include "ScriptedMessageService.h"

#include <cstdint>

namespace corvane::tuner::test {

// Configuration dialogs the window asks for and never gets.
class NoDialogs final : public TunerDialogs
{
public:
    bool openSoundcard(QWidget *) override { return false; }
    bool openOptimize(QWidget *) override { return false; }
    bool openTranspose(QWidget *) override { return false; }
    bool openPitchConfig(QWidget *, int) override { return false; }
};

struct TunerWindowRig
{
    explicit TunerWindowRig(std::int32_t rate = 44100)
    {
        settings.SetCaptureFormat(monoFormat(rate));
        settings.SetPlaybackFormat(monoFormat(rate));
        practice.setTicksPerSecond(5.0); // as the program's practice clocks count
    }

    CTuner::Context context() { return { settings, pitch, keys, practice, clock }; }

    CTCDefs settings;
    CPitch pitch;
    KeyContext keys;
    ActiveTimeCounter practice { 0 };
    RunClock clock { [] { return std::int64_t(1000); } };
    widgets::ScriptedMessageService messages;
    widgets::MessageServiceOverride messageOverride { messages };
};

} // namespace corvane::tuner::test
