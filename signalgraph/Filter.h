#pragma once

#include "MediaFormat.h"
#include "Pins.h"

#include <cstdint>
#include <span>
#include <vector>

namespace corvane {

// Base of every node of the signal graph. A block pushed in at a source runs synchronously and
// depth-first through every filter below it; see Pins.h for the wiring operations.
//
// The base owns the pins: a filter says how many inputs and outputs it has when it is made, and
// gets them already bound, its inputs to itself. They are numbered from 1, inputs first, and never
// move, since their peers point at them. A graph belongs to one thread at a time and is never
// re-wired while pushed.
class Filter
{
public:
    Filter(const Filter &) = delete;
    Filter &operator=(const Filter &) = delete;
    virtual ~Filter() = default;

    // Input pin `number`; null for a number that names no input.
    InputPin *inputPin(int32_t number) noexcept;
    // Output pin `number` (the outputs are numbered on from the last input); null for a number
    // that names no output. Throws std::invalid_argument "no output pins" on a filter that has
    // none (a sink).
    OutputPin *outputPin(int32_t number);

    // Consumes the ready input block(s), produces and delivers output. Returns false, without
    // side effects, when the guard finds missing or mismatched data; never throws for that.
    virtual bool process() = 0;

    // Called when an input pin is attached or the upstream format changes; sets the formats of
    // the output pins.
    virtual void configure(const MediaFormat &format) = 0;

protected:
    // Makes `inputs` input pins bound to this filter and `outputs` output pins. Allocates.
    Filter(int32_t inputs, int32_t outputs);

    // The pins in number order, for the filter's own use.
    std::span<InputPin> inputs() noexcept { return m_inputs; }
    std::span<OutputPin> outputs() noexcept { return m_outputs; }

    // Guard step 1: the input has a ready block in an allocated buffer.
    static bool inputReady(const InputPin &pin) noexcept;

    // Guard steps 2 and 3 for one output: allocated, and in lock-step with the input, whose
    // length and position are `divisor` times the output's.
    static bool outputInStep(const OutputPin &out, const MediaSample &in,
                             int32_t divisor = 1) noexcept;

    // Sets `out` to `format` and restarts its position; exceptions from downstream reach the
    // caller as base std::exception copies.
    static void setOutputFormat(OutputPin &out, const MediaFormat &format);

    // The closing steps of every process: deliver each output in order, clear them in order,
    // then advance each output position by its block length.
    template<typename... Outs>
    static void deliverAll(Outs &...outs)
    {
        (outs.deliver(), ...);
        (outs.clearReady(), ...);
        ((outs.media()->position = advanced(outs.media()->position, outs.media()->format.length)),
         ...);
    }

    // A position passes 2^31 after about 13 hours at 44.1 kHz. Positions are only ever compared
    // with each other, so they count modulo 2^32 instead of overflowing.
    static int32_t advanced(int32_t position, int32_t length) noexcept
    {
        return static_cast<int32_t>(static_cast<uint32_t>(position)
                                    + static_cast<uint32_t>(length));
    }

private:
    // Sized once by the constructor and never resized, so no pin ever moves.
    std::vector<InputPin> m_inputs;
    std::vector<OutputPin> m_outputs;
};

} // namespace corvane
