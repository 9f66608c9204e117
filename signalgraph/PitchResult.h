#pragma once

#include <array>

namespace corvane {

// What the pitch analyzer found in one block: a plain value. The thread that runs the analyzer
// owns the record it fills; another thread receives whole copies through a LatestValue mailbox
// (concurrency/), never a record that is still being written.
struct PitchResult
{
    // Where the sound lies against the analyzer's frequency limits. A clear note below the lowest
    // limit or above the highest is never named as another note: its pitch is 0.0 and the range
    // says which side it lies on.
    enum class Range { Within, Below, Above };

    // Hz, the smoothed fundamental of the window; 0.0 means no pitch.
    double pitch = 0.0;
    Range range = Range::Within;
    // Frames before the end of this hop where a new note began (a change of period, or a rise in
    // level after a dip), or -1 when none began in it. The decision starts afresh there.
    int onsetFrames = -1;
    // Sum of the eight band RMS values (full scale 1.0).
    double totalEnergy = 0.0;
    // Zero-crossing frequency in Hz and RMS of bands 0 (highest) ... 7 (lowest); entries 8 ... 10
    // are always 0.0.
    std::array<double, 11> bandFrequency {};
    std::array<double, 11> bandEnergy {};
};

} // namespace corvane
