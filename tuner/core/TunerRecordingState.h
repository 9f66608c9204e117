#pragma once

#include "Rgb.h"
#include "TunerClosing.h"

#include <string_view>

namespace corvane::tuner {

// The tuner window's four recording states, and what the window shows in each.
enum class RecordingState {
    Tuning = 0,    // not recording, nothing recorded yet
    Recording = 1, // capture is written to the recording file
    Stopped = 2,   // a recording was made and finished; tuning goes on
    Paused = 3,    // the recording file stays open, but nothing is written to it
};

// The bottom row's buttons and the lamp for one state. "Review", "Cancel" and "Exit" are enabled
// in every state.
struct RecordingControls
{
    bool recordEnabled = true;
    bool pauseEnabled = false;
    bool stopEnabled = false;
    const char *pauseCaption = "Pause"; // "Resume" while paused
    Rgb lamp;

    friend bool operator==(const RecordingControls &a, const RecordingControls &b) noexcept
    {
        return a.recordEnabled == b.recordEnabled && a.pauseEnabled == b.pauseEnabled
                && a.stopEnabled == b.stopEnabled && a.lamp == b.lamp
                && std::string_view(a.pauseCaption) == b.pauseCaption;
    }
};

// The recording-state machine of the tuner window. It only decides: the window asks whether a
// button may act, does the device work, and reports the result here, so the state always says
// what the devices really do (a recording that could not start leaves the state as it was; a
// restart without recording ends a recording or a pause).
//
// A plain value; user-interface thread.
class TunerRecordingState
{
public:
    static constexpr Rgb kLampRecording { 255, 0, 0 };
    static constexpr Rgb kLampIdle = Rgb::gray(127);

    explicit TunerRecordingState(RecordingState initial = RecordingState::Tuning) noexcept
        : m_state(initial)
    {
    }

    RecordingState state() const noexcept { return m_state; }
    RecordingControls controls() const noexcept { return controlsOf(m_state); }
    static RecordingControls controlsOf(RecordingState state) noexcept;

    // Whether the buttons may act now (a disabled button's click, or a shortcut, does nothing).
    bool canRecord() const noexcept;
    bool canPauseOrResume() const noexcept;
    bool canStop() const noexcept;

    // The devices now record into a new file.
    void recordingStarted() noexcept { m_state = RecordingState::Recording; }
    // Pause or resume took effect: Recording <-> Paused. Anything else is left alone.
    void pauseToggled() noexcept;
    // The devices were started again without recording (Stop, or a restart after the sound-card
    // or optimize dialog): a recording or a pause ends as Stopped; Tuning and Stopped stay.
    void restartedWithoutRecording() noexcept;

    // What "Review" means in this state.
    TunerClosing reviewOutcome() const noexcept;

private:
    RecordingState m_state;
};

} // namespace corvane::tuner
