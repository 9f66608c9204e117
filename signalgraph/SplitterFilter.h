#pragma once

#include "Filter.h"

namespace corvane {

// Copies one signal to two outputs, since an output pin feeds only one input. Input pin 1,
// output pins 2 and 3. Everything below output 2 runs before anything below output 3.
class SplitterFilter : public Filter
{
public:
    SplitterFilter()
        : Filter(1, 2)
    {
    }

    // Allocates nothing; runs on the thread that pushes the graph.
    bool process() override;
    // Outputs 2, then 3, take the input format; errors from downstream arrive as base
    // std::exception.
    void configure(const MediaFormat &format) override;

private:
    InputPin &m_in = inputs()[0];
    OutputPin &m_first = outputs()[0];
    OutputPin &m_second = outputs()[1];
};

} // namespace corvane
