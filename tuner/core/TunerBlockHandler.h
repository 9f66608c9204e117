#pragma once

namespace corvane::tuner {

// What the tuner does once per device block. The tuner window implements it; the two
// notifications below forward the device workers' calls to it.
class TunerBlockHandler
{
public:
    // On the capture worker's thread, once per captured block: analyse it and publish the result.
    virtual void ProcessCapturedBlock() = 0;
    // On the playback worker's thread, once per block taken: render the next block of tones.
    virtual void GeneratePlayBlock() = 0;

protected:
    ~TunerBlockHandler() = default;
};

} // namespace corvane::tuner
