#pragma once

#include <array>

namespace corvane {

// What the pitch analyser found in one block. Callers copy it whole; a reader on another thread
// may see a record that is partly from one block and partly from the next.
struct PitchResult
{
    // Hz, the smoothed fundamental of the block; 0.0 means no pitch.
    double pitch = 0.0;
    // Sum of the eight band RMS values (full scale 1.0).
    double totalEnergy = 0.0;
    // Zero-crossing frequency in Hz and RMS of bands 0 (highest) ... 7 (lowest); entries 8 ... 10
    // are always 0.0.
    std::array<double, 11> bandFrequency {};
    std::array<double, 11> bandEnergy {};
};

} // namespace corvane
