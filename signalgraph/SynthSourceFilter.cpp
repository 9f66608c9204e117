#include "SynthSourceFilter.h"

#include "SinglePrecisionPi.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace corvane {

namespace {

    using spi::kHalfPi;
    using spi::kPi;
    using spi::kThreeHalvesPi;
    using spi::kTwoOverPi;
    using spi::kTwoPi;

    float square(double x) noexcept
    {
        return x < kPi ? 1.0f : -1.0f;
    }

    float triangle(double x) noexcept
    {
        if (x < kHalfPi)
            return static_cast<float>(x * kTwoOverPi);
        if (x < kThreeHalvesPi)
            return static_cast<float>(2.0 - x * kTwoOverPi);
        return static_cast<float>(x * kTwoOverPi - 4.0);
    }

    float sine(double x) noexcept
    {
        return static_cast<float>(std::sin(x));
    }

    float harmonicMix(double x) noexcept
    {
        const auto partial = [x](double k) { return static_cast<float>(std::sin(k * x)); };
        return static_cast<float>(0.4 * partial(2) + 0.2 * (partial(1) + partial(3))
                                  + 0.1 * (partial(4) + partial(5)));
    }

    // Brings the phase back into [0, 2 pi). std::fmod is exact, so for the usual overshoot of less
    // than one turn it gives the same bits as subtracting 2 pi once, and it also ends for a step of
    // many turns, where repeated subtraction would not.
    double wrapped(double phase) noexcept
    {
        if (phase >= kTwoPi)
            return std::fmod(phase, kTwoPi);
        if (phase < 0.0) {
            phase = std::fmod(phase, kTwoPi) + kTwoPi;
            return phase < kTwoPi ? phase : 0.0;
        }
        return phase;
    }

} // namespace

float SynthSourceFilter::shape(int32_t code, double x) noexcept
{
    switch (code) {
    case kTriangle:
        return triangle(x);
    case kSine:
        return sine(x);
    case kHarmonicMix:
        return harmonicMix(x);
    default:
        return square(x);
    }
}

template<typename Shape>
void SynthSourceFilter::render(float *out, int32_t length, double step, Shape shape) noexcept
{
    double phase = m_phase;
    for (int32_t i = 0; i < length; ++i) {
        out[i] = shape(phase);
        phase = wrapped(phase + step);
    }
    m_phase = phase;
}

bool SynthSourceFilter::process()
{
    MediaSample *media = m_out.media();
    if (!media || !media->buffer() || media->format.length <= 0 || media->format.sampleRate == 0.0)
        return false;
    float *out = media->buffer();
    const int32_t length = media->format.length;
    const double step = m_frequency * kTwoPi / media->format.sampleRate;

    if (!std::isfinite(step)) {
        std::fill(out, out + length, 0.0f);
    } else {
        switch (m_waveform) {
        case kTriangle:
            render(out, length, step, triangle);
            break;
        case kSine:
            render(out, length, step, sine);
            break;
        case kHarmonicMix:
            render(out, length, step, harmonicMix);
            break;
        default:
            render(out, length, step, square);
            break;
        }
    }
    deliverAll(m_out);
    return true;
}

void SynthSourceFilter::configure(const MediaFormat &format)
{
    if (format.length < 1)
        throw std::length_error("PRE: invalid media buffer length");
    if (!(format.sampleRate > 0.0))
        throw std::domain_error("PRE: invalid media sample rate");
    setOutputFormat(m_out, format);
    m_phase = 0.0;
}

void SynthSourceFilter::setWaveform(int32_t code) noexcept
{
    m_waveform = code;
    m_phase = 0.0;
}

} // namespace corvane
