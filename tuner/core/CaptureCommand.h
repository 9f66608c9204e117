#pragma once

namespace corvane::tuner {

// A change for the analyzer that the window sends while capture runs; the capture worker
// applies it before its next block. Format, filter and limit changes need new buffers and are
// made only while the devices are stopped, so the input gain is all that travels this way.
struct CaptureCommand
{
    double inputGain = 1.0; // 0 ... 2
};

} // namespace corvane::tuner
