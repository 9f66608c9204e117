#include "TunerRecordingState.h"

namespace corvane::tuner {

RecordingControls TunerRecordingState::controlsOf(RecordingState state) noexcept
{
    switch (state) {
    case RecordingState::Recording:
        return { false, true, true, "Pause", kLampRecording };
    case RecordingState::Paused:
        return { false, true, true, "Resume", kLampIdle };
    case RecordingState::Tuning:
    case RecordingState::Stopped:
        break;
    }
    return { true, false, false, "Pause", kLampIdle };
}

bool TunerRecordingState::canRecord() const noexcept
{
    return controls().recordEnabled;
}

bool TunerRecordingState::canPauseOrResume() const noexcept
{
    return controls().pauseEnabled;
}

bool TunerRecordingState::canStop() const noexcept
{
    return controls().stopEnabled;
}

void TunerRecordingState::pauseToggled() noexcept
{
    if (m_state == RecordingState::Recording)
        m_state = RecordingState::Paused;
    else if (m_state == RecordingState::Paused)
        m_state = RecordingState::Recording;
}

void TunerRecordingState::restartedWithoutRecording() noexcept
{
    if (m_state == RecordingState::Recording || m_state == RecordingState::Paused)
        m_state = RecordingState::Stopped;
}

TunerClosing TunerRecordingState::reviewOutcome() const noexcept
{
    return m_state == RecordingState::Tuning ? TunerClosing::ReviewWithoutRecording
                                             : TunerClosing::ReviewRecording;
}

} // namespace corvane::tuner
