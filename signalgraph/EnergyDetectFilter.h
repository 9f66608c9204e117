#pragma once

#include "Filter.h"

#include <cstdint>

namespace corvane {

// RMS meter, one per octave band of the analyzer.
// A sink: input pin 1, no outputs. process allocates nothing and never throws.
class EnergyDetectFilter : public Filter
{
public:
    EnergyDetectFilter()
        : Filter(1, 0)
    {
    }

    // Root mean square of the last block (full scale 1.0); 0.0 before the first block.
    double energy() const noexcept { return m_energy; }

    bool process() override;
    void configure(const MediaFormat &) override { }

private:
    InputPin &m_in = inputs()[0];
    double m_energy = 0.0;
};

} // namespace corvane
