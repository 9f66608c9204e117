#pragma once

#include "Filter.h"

#include <cstdint>
#include <vector>

namespace corvane {

// Zero-crossing frequency meter, one per octave band of the analyzer. Over its window (by
// default the block) it measures the mean period between the first and the last downward
// crossing (a sample > 0 followed by one <= 0), locating each crossing by linear interpolation;
// the first crossing may be the last one of the window before, so a low note whose period spans
// windows is still measured. With a window longer than the block, the window moves by a block at
// a time and the meter measures the last `window` samples after every block.
//
// A sink: input pin 1, no outputs. setWindowBlocks and configure allocate; process allocates
// nothing and never throws. One thread at a time.
class PitchDetectFilter : public Filter
{
public:
    PitchDetectFilter()
        : Filter(1, 0)
    {
    }

    // Hz, from the last window; 0.0 when it gave fewer than two crossings (counting one carried
    // over from the window before).
    double frequency() const noexcept { return m_frequency; }

    // Blocks the window holds, 1 (the default) or more; takes effect with the next configure.
    void setWindowBlocks(int32_t blocks) { m_windowBlocks = blocks > 1 ? blocks : 1; }

    bool process() override;

    // Forgets every crossing and the last sample.
    void configure(const MediaFormat &format) override;

private:
    // A downward crossing: the sample index (counted from configure) of the first sample at or
    // below zero, and how far (0 ... 1 samples) before it the wave crossed.
    struct Crossing
    {
        int64_t sample = 0;
        double before = 0.0;
    };

    void forgetBefore(int64_t sample) noexcept;

    InputPin &m_in = inputs()[0];
    int32_t m_windowBlocks = 1;
    int32_t m_window = 0;
    float m_previous = 0.0f; // last sample of the last block
    int64_t m_next = 0;      // index of the next block's first sample
    // The crossings of the last two windows, oldest first, in a ring sized for the most two
    // windows can hold.
    std::vector<Crossing> m_ring;
    size_t m_head = 0;
    size_t m_count = 0;
    double m_frequency = 0.0;
};

} // namespace corvane
