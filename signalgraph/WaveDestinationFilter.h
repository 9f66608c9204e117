#pragma once

#include "Filter.h"
#include "PcmFormat.h"

#include <cstdint>

namespace corvane {

// Turns the float blocks that reach it into PCM bytes in a buffer its owner names. Input pin 1,
// no outputs.
class WaveDestinationFilter : public Filter
{
public:
    WaveDestinationFilter()
        : Filter(1, 0)
    {
    }

    // Writes the input block into the target: frames = the input block's length; with two
    // channels the value goes to channel 0 and channel 1 gets silence. Conversion truncates
    // toward zero after clamping to the format's range, so 1.0 becomes 255, 32767 or 8388607
    // and -1.0 becomes 1, -32767 or -8388607, an overshoot stays at full scale instead of
    // wrapping, and a NaN becomes silence. Returns true, or false when no block is ready.
    // Throws std::domain_error "filter not configured" when the input is not attached or no
    // target was set; std::invalid_argument "bad number of channels", "sample rates do not
    // match", "bad sample depth" and "block longer than buffer" (the input block has more
    // frames than the target's record). Allocates nothing.
    bool process() override;
    void configure(const MediaFormat &format) override;

    // Names the buffer the next blocks land in and its format. `target` is not owned and must
    // hold format.blockLength frames.
    void setTarget(const PcmFormat &format, uint8_t *target) noexcept;

    const PcmFormat &format() const noexcept { return m_format; }

private:
    InputPin &m_in = inputs()[0];
    PcmFormat m_format;
    uint8_t *m_target = nullptr; // not owned
};

} // namespace corvane
