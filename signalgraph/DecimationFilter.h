#pragma once

#include "Filter.h"

#include <cstdint>

namespace corvane {

// Halves the sample rate by keeping the even-numbered samples of every block (the first sample
// of a block is always kept). It does no filtering: in the band cascade it always follows a low
// band whose cut-off lies far below the new Nyquist frequency.
//
// Pins: input 1; output 2 with half the input's length and rate. Input blocks must have an even
// length. process allocates nothing. One thread at a time.
class DecimationFilter : public Filter
{
public:
    DecimationFilter()
        : Filter(1, 1)
    {
    }

    bool process() override;

    // Throws std::length_error "invalid buffer length" (length < 1), std::domain_error
    // "invalid sample rate" (rate not > 0) or std::domain_error "odd buffer length", in that
    // order; errors from downstream arrive as base std::exception copies.
    void configure(const MediaFormat &format) override;

private:
    InputPin &m_in = inputs()[0];
    OutputPin &m_out = outputs()[0];
};

} // namespace corvane
