#pragma once

#include "SampleFormat.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace corvane::audio {

// What the virtual capture device "hears": a steady sine tone, or given samples (for instance
// a wave file's) played once or in a loop.
struct VirtualCaptureSource
{
    enum class Kind { Tone, Samples };
    Kind kind = Kind::Tone;

    double toneHz = 440.0;
    double toneLevel = 0.5; // fraction of full scale, 0 ... 1

    // Samples in the program's own form (24-bit ones in 4-byte slots); the device only opens
    // for this format.
    SampleFormat samplesFormat { 1, 11025, 16 };
    std::shared_ptr<const std::vector<std::byte>> samples;
    bool loop = false;
};

// How fast the virtual devices run: at the format's real rate, or as fast as the other side
// keeps up (capture waits while the queue is full; playback waits for each refill).
enum class VirtualPacing { RealTime, AsFastAsTaken };

} // namespace corvane::audio
