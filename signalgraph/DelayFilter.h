#pragma once

#include "Filter.h"

#include <vector>

namespace corvane {

// Delays a signal by a whole number of samples, across block boundaries. Input pin 1, output
// pin 2. The delay line survives configure, so a rate change does not restart it.
class DelayFilter : public Filter
{
public:
    DelayFilter()
        : Filter(1, 1)
    {
    }

    // Allocates nothing; runs on the thread that pushes the graph.
    bool process() override;
    // Throws std::length_error "invalid buffer length" for a length below 1 and
    // std::domain_error "invalid sample rate" for a rate that is not above 0; then output 2
    // takes the input format (errors from downstream arrive as base std::exception).
    void configure(const MediaFormat &format) override;

    // Delay in samples, 0 after construction. A new length allocates a line of silence; the
    // same length keeps what the line holds. Throws std::invalid_argument "negative delay" for
    // n < 0, keeping the previous line. Call between pushes only: it allocates.
    void setDelay(int32_t n);
    int32_t delayLength() const noexcept { return static_cast<int32_t>(m_line.size()); }

private:
    InputPin &m_in = inputs()[0];
    OutputPin &m_out = outputs()[0];
    std::vector<float> m_line; // the samples still to come out, oldest first
};

} // namespace corvane
