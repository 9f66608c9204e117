#pragma once

#include "Filter.h"

#include <cstdint>
#include <vector>

namespace corvane {

// Splits one signal into a low band and the complementary high band with one linear-phase
// windowed-sinc FIR filter of N taps (N odd, M = (N - 1) / 2). Both outputs are delayed by M
// samples, and high + low equals the input delayed by M, to single-precision rounding. Each output
// is computed in double precision and rounded to single precision once.
//
// Pins: input 1; output 2 = high band, output 3 = low band; both carry the input's format.
// Each band has a switch (see process). The owner calls design before the graph runs; design
// and configure allocate, process does not. One thread at a time.
class FIRHiLoFilter : public Filter
{
public:
    // Window codes of design.
    static constexpr int32_t kHamming = 1;
    static constexpr int32_t kBlackman = 2;

    // Designs with divisor 4, 31 taps and the Blackman window.
    FIRHiLoFilter();

    // Sets the cut-off to rate / divisor (a divisor below 2 keeps the previous cut-off) and the
    // length to the largest N <= requestedLength with (N + 1) divisible by 4, or to 31 when
    // fewer than 35 taps are asked for. Window code 1 = kHamming, 2 = kBlackman, other = none.
    // Recomputes the coefficients only when the effective length, the window or the cut-off
    // changed; always restarts from silence (history zeroed). Allocates; never throws for its
    // arguments.
    void design(int32_t divisor, int32_t requestedLength, int32_t windowCode);

    // Band switches; they take effect with the next block. With both on the filter splits; with
    // one on, that output copies the input and the other is silent; with both off both are silent.
    void setHighOn(bool on) noexcept { m_highOn = on; }
    void setLowOn(bool on) noexcept { m_lowOn = on; }
    bool highOn() const noexcept { return m_highOn; }
    bool lowOn() const noexcept { return m_lowOn; }

    // Seconds by which the outputs lag the input: (N - 1) / input rate with both switches on,
    // else 0. Also 0 before an input is attached.
    double stageDelay() const noexcept;

    int32_t taps() const noexcept { return m_taps; }
    int32_t historyLength() const noexcept { return m_historyLength; }
    int32_t window() const noexcept { return m_window; }
    double omega() const noexcept { return m_omega; } // cut-off, radians per sample

    // Coefficient k = 0 ... M of the symmetric impulse response (h[k] = h[-k]).
    double coefficient(int32_t k) const noexcept { return m_coefficients[static_cast<size_t>(k)]; }

    // The last N - 1 input samples, newest first; entry 0 is the sample before the next block.
    const std::vector<float> &history() const noexcept { return m_history; }

    bool process() override;
    void configure(const MediaFormat &format) override;

private:
    void computeCoefficients();
    void sizeLine();
    void split(const float *in, float *high, float *low, int32_t length) noexcept;
    void advanceHistory(const float *in, int32_t length) noexcept;

    InputPin &m_in = inputs()[0];
    OutputPin &m_high = outputs()[0];
    OutputPin &m_low = outputs()[1];
    std::vector<double> m_coefficients; // N entries, 0 ... M used
    int32_t m_taps = 0;
    std::vector<float> m_history;
    int32_t m_window = 0;
    int32_t m_historyLength = 0;
    bool m_highOn = true;
    bool m_lowOn = true;
    double m_omega = 0.0;

    // The history (oldest first) followed by the current block, in double precision, so that the
    // split reads every sample it needs from one contiguous run. Sized by design and configure.
    std::vector<double> m_line;
    int32_t m_blockLength = 0;
};

} // namespace corvane
