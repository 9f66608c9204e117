#pragma once

// Test helper: synthetic signals.

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
