#pragma once

// Test helper: synthetic signals.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace corvane::test {

inline std::vector<float> sine(double hz, double rate, size_t samples, double amplitude = 0.5,
                               double phase = 0.0)
{
    std::vector<float> out(samples);
    for (size_t i = 0; i < samples; ++i)
        out[i] = static_cast<float>(amplitude * std::sin(2.0 * M_PI * hz * i / rate + phase));
    return out;
}

// White noise, uniform in -amplitude ... amplitude, repeatable.
inline std::vector<float> noise(size_t samples, float amplitude = 0.5f, uint32_t seed = 7)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> uniform(-amplitude, amplitude);
    std::vector<float> out(samples);
    for (float &x : out)
        x = uniform(generator);
    return out;
}

inline double rms(const float *x, size_t samples)
{
    double sum = 0.0;
    for (size_t i = 0; i < samples; ++i)
        sum += static_cast<double>(x[i]) * x[i];
    return samples ? std::sqrt(sum / samples) : 0.0;
}

} // namespace corvane::test

namespace corvane::test {

// Little-endian 16-bit mono PCM of a float signal (full scale 1.0), clipped.
inline std::vector<uint8_t> pcm16(const std::vector<float> &signal)
{
    std::vector<uint8_t> bytes(signal.size() * 2);
    for (size_t i = 0; i < signal.size(); ++i) {
        const double scaled = std::round(std::clamp(signal[i] * 32768.0, -32768.0, 32767.0));
        const auto value = static_cast<uint16_t>(static_cast<int16_t>(scaled));
        bytes[2 * i] = static_cast<uint8_t>(value & 0xff);
        bytes[2 * i + 1] = static_cast<uint8_t>(value >> 8);
    }
    return bytes;
}

// A tone of partials k * hz (k = 1, 2, ...) with the given relative amplitudes, scaled to a peak
// near `peak`. Partials at or above the Nyquist frequency are left out.
inline std::vector<float> harmonicTone(double hz, double rate, size_t samples,
                                       const std::vector<double> &partials, double peak = 0.5)
{
    std::vector<double> sum(samples, 0.0);
    for (size_t k = 0; k < partials.size(); ++k) {
        const double f = hz * static_cast<double>(k + 1);
        if (f >= rate / 2)
            break;
        for (size_t i = 0; i < samples; ++i)
            sum[i] += partials[k] * std::sin(2.0 * M_PI * f * i / rate + 0.7 * k);
    }
    double top = 0.0;
    for (double v : sum)
        top = std::max(top, std::abs(v));
    std::vector<float> out(samples);
    for (size_t i = 0; i < samples; ++i)
        out[i] = static_cast<float>(top > 0 ? sum[i] * peak / top : 0.0);
    return out;
}

} // namespace corvane::test
