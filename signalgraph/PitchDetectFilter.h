#pragma once

#include "Filter.h"

#include <cstdint>

namespace corvane {

// Zero-crossing frequency meter, one per octave band of the analyzer. Per block it measures the
// mean period between the first and the last downward crossing (a sample > 0 followed by one
// <= 0), locating each crossing by linear interpolation; the first crossing may be the last one
// of the previous block, so a low note whose period spans blocks is still measured.
//
// A sink: input pin 1, no outputs. process allocates nothing and never throws.
// One thread at a time.
class PitchDetectFilter : public Filter
{
public:
    PitchDetectFilter()
        : Filter(1, 0)
    {
    }

    // Hz, from the last block; 0.0 when the block gave fewer than two crossings (counting one
    // carried over from the previous block).
    double frequency() const noexcept { return m_frequency; }

    bool process() override;

    // Forgets every crossing and the last sample.
    void configure(const MediaFormat &format) override;

private:
    InputPin &m_in = inputs()[0];
    float m_previous = 0.0f; // last sample of the last block
    int32_t m_count = 0;     // downward crossings held between blocks: 0 or 1
    double m_carry = 0.0;    // samples from the held crossing to the last sample of the last block
    double m_frequency = 0.0;
};

} // namespace corvane
