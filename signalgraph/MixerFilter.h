#pragma once

#include "Filter.h"

#include <array>

namespace corvane {

// Sums up to twelve signals with per-input gains and mutes. Input pins 1 ... 12, output pin 13.
// The gains are scaled so that the mix is never louder than the loudest single input: the
// effective gains of the unmuted inputs sum to the largest of their gains.
//
// The mix runs only when every input holds a block; a delivery that leaves the set incomplete
// returns false and keeps its pin ready. Delivered in the order 1 ... 12, the mixer therefore
// runs once per cycle, on the delivery to pin 12.
class MixerFilter : public Filter
{
public:
    static constexpr int32_t kInputCount = 12;
    static constexpr int32_t kOutputPinNumber = 13;

    MixerFilter();

    // Needs every input ready and as long as the output; positions are not compared.
    // Allocates nothing; runs on the thread that pushes the graph.
    bool process() override;
    // Output 13 takes the format of the input being attached; errors from downstream arrive as
    // base std::exception.
    void configure(const MediaFormat &format) override;

    // Gain 0 ... 1 of input `pin` (1 ... 12), 0.0 after construction. Throws std::domain_error
    // "invalid pin number" or "invalid gain" (NaN included), keeping the previous gain.
    void setInputGain(int32_t pin, double gain);
    // Every input is muted after construction. Throws std::domain_error "invalid pin number".
    void setInputMuted(int32_t pin, bool muted);

    // For pins 1 ... 12; the effective gain is the one used for the last mixed block, 0.0 for
    // an input that was muted then.
    double inputGain(int32_t pin) const { return m_inputGain.at(index(pin)); }
    bool isMuted(int32_t pin) const { return m_muted.at(index(pin)); }
    double effectiveGain(int32_t pin) const { return m_effectiveGain.at(index(pin)); }

private:
    static std::size_t index(int32_t pin) { return static_cast<std::size_t>(pin - 1); }
    static void checkPin(int32_t pin);
    void normalize() noexcept;

    std::span<InputPin> m_in = inputs();
    OutputPin &m_out = outputs()[0];
    std::array<double, kInputCount> m_inputGain {};
    std::array<bool, kInputCount> m_muted {};
    std::array<double, kInputCount> m_effectiveGain {};
};

} // namespace corvane
