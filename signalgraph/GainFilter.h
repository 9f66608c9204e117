#pragma once

#include "Filter.h"

namespace corvane {

// Scales a signal by a non-negative factor. Input pin 1, output pin 2.
class GainFilter : public Filter
{
public:
    GainFilter()
        : Filter(1, 1)
    {
    }

    // Allocates nothing; runs on the thread that pushes the graph.
    bool process() override;
    // Output 2 takes the input format; errors from downstream arrive as base std::exception.
    void configure(const MediaFormat &format) override;

    // 1.0 after construction. Throws std::invalid_argument "negative gain" for a value that is
    // negative or not a number, keeping the previous gain.
    void setGain(double gain);
    double gain() const noexcept { return m_gain; }

private:
    InputPin &m_in = inputs()[0];
    OutputPin &m_out = outputs()[0];
    double m_gain = 1.0;
};

} // namespace corvane
