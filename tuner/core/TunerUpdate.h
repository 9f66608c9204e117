#pragma once

#include "PitchReadout.h"

#include <array>
#include <chrono>

namespace corvane::tuner {

// What one display update (five a second in the classic display, up to sixty in the smooth one)
// gives the window to show. A plain value.
struct TunerUpdate
{
    // The time since the update before, for the wheels and the meters to turn, fade and fall by.
    std::chrono::microseconds elapsed { 0 };
    // A result the display has not shown yet came with this update (else the last one again).
    bool fresh = false;

    // For the wheels: the frequency heard, folded into the lowest octave of the note table,
    // 0.0 when nothing is heard or no pitch was found; and the block's total energy.
    double foldedHz = 0.0;
    double totalEnergy = 0.0;
    // The total energy reached half the noise threshold: the practice counter ticked as active.
    bool active = false;

    // For the level meters (full scale 1.0): the whole signal, and the eight band meters from the
    // lowest band on the left. Meter 0 stands for a band below the analyzer's lowest and stays
    // empty; meter i shows the analyzer's band 8 - i.
    double fullLevel = 0.0;
    std::array<double, 8> bandLevels {};

    // The note, frequency and cents the readout shows, or "below range" / "above range" for a
    // clear note outside the analyzer's limits; blank when nothing is heard.
    PitchReadout readout;

    // Every two seconds: the average load of the capture and the playback
    // work since the last one, in percent 0 ... 100.
    bool loadChanged = false;
    int captureLoadPercent = 0;
    int playbackLoadPercent = 0;

    // Once a second: time to redraw the run clock and the practice clock.
    bool clocksDue = false;

    // The capture has fallen behind often enough to tell the user (see OverrunCounter).
    bool overrunWarning = false;
    // The recording met a full disk: nothing more is written; the window ends the take.
    bool recordingFailed = false;
};

} // namespace corvane::tuner
