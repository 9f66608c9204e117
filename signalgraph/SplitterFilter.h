#pragma once

#include "Filter.h"

namespace corvane {

// Copies one signal to two outputs, since an output pin feeds only one input. Input pin 1,
// output pins 2 and 3. Everything below output 2 runs before anything below output 3.
class SplitterFilter : public Filter
{
public:
    // Allocates nothing; runs on the thread that pushes the graph.
    bool process() override;
    // Outputs 2, then 3, take the input format; errors from downstream arrive as base
    // std::exception.
    void configure(const MediaFormat &format) override;

    virtual InputPin *inputPin(int32_t number) noexcept;
    virtual OutputPin *outputPin(int32_t number) noexcept;
    void bindPins();

private:
    InputPin m_in;
    OutputPin m_first;
    OutputPin m_second;
};

} // namespace corvane
