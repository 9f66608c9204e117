#pragma once

#include "Filter.h"
#include "PcmFormat.h"

#include <cstdint>

namespace corvane {

// Turns blocks of PCM bytes into float blocks and pushes them into the graph. No inputs,
// output pin 1. Only channel 0 of each frame reaches the graph.
class WaveSourceFilter : public Filter
{
public:
    WaveSourceFilter()
        : Filter(0, 1)
    {
    }

    // The source is driven by push, so process does nothing and returns false.
    bool process() override;
    void configure(const MediaFormat &format) override;

    // Converts one block of `format().blockLength` frames and pushes it through the graph
    // below; returns true. 8-bit samples map as (byte - 128) / 128, 16-bit as value / 32768,
    // 24-bit as value / 8388608, so full negative scale is exactly -1.0.
    // Throws std::domain_error "filter not configured" before setFormat; std::invalid_argument
    // "bad number of channels" (not 1 or 2), "sample rates do not match" (the output rate is
    // not the record's), "bad sample depth" (not 8, 16 or 24), "block longer than buffer" (the
    // output block is longer than the record's block, which happens only when a setFormat
    // failed half-way) and "null block pointer". Allocates nothing.
    virtual bool push(const uint8_t *block);

    // Stores the record, gives output pin 1 (blockLength, sampleRate) and restarts its
    // position. The pin's std::length_error "invalid buffer length" and std::domain_error
    // "invalid sample rate" reach the caller as they are. Allocates when the length changes.
    virtual void setFormat(const PcmFormat &format);

    const PcmFormat &format() const noexcept { return m_format; }

private:
    OutputPin &m_out = outputs()[0];
    PcmFormat m_format;
};

} // namespace corvane
