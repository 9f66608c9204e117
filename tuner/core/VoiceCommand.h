#pragma once

#include <cstdint>

namespace corvane::tuner {

// One synth voice as the window wants it, sent to the playback worker, which applies it to the
// tone generator between blocks. A plain value: it crosses threads by copy.
struct VoiceCommand
{
    std::int32_t degree = 0;   // 0 ... 11
    std::int32_t waveform = 2; // 1 ... 4
    double hz = 0.0;
    double level = 0.5; // 0 ... 1
    bool on = false;
    // Set the waveform, frequency and level too (the waveform restarts the voice's phase); a
    // plain switch on or off leaves them alone.
    bool retune = false;
};

} // namespace corvane::tuner
