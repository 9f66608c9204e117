#pragma once

#include "Filter.h"

#include <cstdint>
#include <vector>

namespace corvane {

// RMS meter, one per octave band of the analyzer, over its window: by default the block, else
// the last whole number of blocks (the window moves by a block at a time).
// A sink: input pin 1, no outputs. setWindowBlocks and configure allocate; process allocates
// nothing and never throws.
class EnergyDetectFilter : public Filter
{
public:
    EnergyDetectFilter()
        : Filter(1, 0)
    {
    }

    // Root mean square of the last window (full scale 1.0); 0.0 before the first block.
    double energy() const noexcept { return m_energy; }

    // Blocks the window holds, 1 (the default) or more; takes effect with the next configure.
    void setWindowBlocks(int32_t blocks) { m_windowBlocks = blocks > 1 ? blocks : 1; }

    bool process() override;
    void configure(const MediaFormat &format) override;

private:
    InputPin &m_in = inputs()[0];
    int32_t m_windowBlocks = 1;
    int32_t m_window = 0;
    std::vector<double> m_blockSums; // the sums of squares of the window's blocks, a ring
    size_t m_oldest = 0;
    double m_energy = 0.0;
};

} // namespace corvane
