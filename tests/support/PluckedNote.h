#pragma once

// A plucked string over hiss, as a tuner hears it: partials 1, 0.6, 0.4 and 0.25 (those below
// 0.45 of the rate), a 5 ms attack and a decay with a time constant of 1.5 s, at a peak near
// -6 dBFS, over Gaussian hiss at -66 dBFS from the start. The note begins at frame `onset`;
// samples are in -1 ... 1 and repeat from run to run.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <random>
#include <vector>

namespace corvane::test {

inline std::vector<double> pluckedOverHiss(double hz, double rate, std::size_t onset,
                                           std::size_t frames)
{
    std::mt19937 random(7);
    std::normal_distribution<double> hiss(0.0, 0.0005);
    const double partials[] = { 1.0, 0.6, 0.4, 0.25 };
    std::vector<double> out(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        double x = hiss(random);
        if (i >= onset) {
            const double t = static_cast<double>(i - onset) / rate;
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                if ((k + 1) * hz < 0.45 * rate)
                    sum += partials[k]
                            * std::sin(2.0 * std::numbers::pi * (k + 1) * hz * t + 0.7 * k);
            x += 0.5 / 2.25 * sum * std::min(1.0, t / 0.005) * std::exp(-t / 1.5);
        }
        out[i] = x;
    }
    return out;
}

} // namespace corvane::test
