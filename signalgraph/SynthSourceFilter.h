#pragma once

#include "Filter.h"
#include "SinglePrecisionPi.h"

namespace corvane {

// A phase-accumulating oscillator with four waveforms. No inputs, output pin 1. Each block
// starts where the previous one ended, so blocks join without a phase jump.
class SynthSourceFilter : public Filter
{
public:
    // Waveform codes; any code other than these plays a square wave.
    static constexpr int32_t kSquare = 1;
    static constexpr int32_t kTriangle = 2;
    static constexpr int32_t kSine = 3;
    static constexpr int32_t kHarmonicMix = 4;

    // One turn of the phase, 2 pi rounded to single precision.
    static constexpr double kTwoPi = spi::kTwoPi;

    SynthSourceFilter()
        : Filter(0, 1)
    {
    }

    // Generates one block and pushes it; returns false without doing anything before
    // configure. A frequency whose phase step is not finite gives silence. Allocates nothing.
    bool process() override;

    // Called by the owner, since there is no input. Throws std::length_error
    // "PRE: invalid media buffer length" for a length below 1 and std::domain_error
    // "PRE: invalid media sample rate" for a rate that is not above 0; then output 1 takes the
    // format (errors from downstream arrive as base std::exception) and the phase restarts.
    void configure(const MediaFormat &format) override;

    // Hz, 0.0 after construction; a negative frequency runs the phase backwards.
    void setFrequency(double hz) noexcept { m_frequency = hz; }
    // kSquare after construction; restarts the phase at 0.
    void setWaveform(int32_t code) noexcept;

    double frequency() const noexcept { return m_frequency; }
    // Radians in [0, 2 pi).
    double phase() const noexcept { return m_phase; }
    int32_t waveform() const noexcept { return m_waveform; }

    // The value of waveform `code` at phase `x` (radians in [0, 2 pi)).
    static float shape(int32_t code, double x) noexcept;

private:
    template<typename Shape>
    void render(float *out, int32_t length, double step, Shape shape) noexcept;

    OutputPin &m_out = outputs()[0];
    double m_frequency = 0.0;
    double m_phase = 0.0;
    int32_t m_waveform = kSquare;
};

} // namespace corvane
