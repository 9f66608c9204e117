#pragma once

#include "TunerOutcome.h"

#include <cstdint>

namespace corvane {

// What the main window asks of the analysis view and its recording. The window works without
// one (its playback commands are then disabled); the view attaches itself when it exists.
// UI thread only.
class FrameView
{
public:
    virtual ~FrameView() = default;

    // There is a recording to play; Play and Loop are grayed without one.
    virtual bool hasRecording() const noexcept { return true; }

    // Starts playing the recording, once through or looped; false when there is nothing to
    // play. The view calls CMainFrame::playbackEnded when the end is reached.
    virtual bool startPlayback(bool loop) = 0;
    virtual void stopPlayback() = 0;
    // 0.0 .. 1.0, applied at once to a playback that runs.
    virtual void setPlaybackVolume(float volume) = 0;
    // The visible panes changed (bits of the settings' view panes) or the zoom level did.
    virtual void panesChanged(std::uint32_t panes) = 0;
    virtual void zoomChanged(int level) = 0;
    // The tuner window has closed and is gone.
    virtual void tunerClosed(TunerOutcome how) = 0;
};

} // namespace corvane
