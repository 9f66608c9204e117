#include "RealFft.h"
#include "Signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

using namespace corvane;
using namespace corvane::test;

// Against the definitions, summed directly: the power spectrum of a zero-padded signal, and its
// autocorrelation (no wrap-around with enough zeros), at the smallest size and a usual one.
TEST(RealFft, PowerSpectrumAndAutocorrelationMatchTheDirectSums)
{
    for (int32_t size : { 4, 256 }) {
        const int32_t count = size / 2 + 1;
        const std::vector<float> x = noise(static_cast<size_t>(count), 0.8f, 21);
        RealFft fft;
        fft.prepare(size);
        std::vector<double> power(static_cast<size_t>(size / 2 + 1));
        fft.powerSpectrum(x.data(), count, power.data());
        for (int32_t k = 0; k <= size / 2; ++k) {
            std::complex<double> sum;
            for (int32_t n = 0; n < count; ++n)
                sum += static_cast<double>(x[static_cast<size_t>(n)])
                        * std::polar(1.0, -2.0 * M_PI * k * n / size);
            ASSERT_NEAR(power[static_cast<size_t>(k)], std::norm(sum), 1e-9)
                    << size << ", bin " << k;
        }
        const int32_t lags = size - count + 1;
        std::vector<double> r(static_cast<size_t>(lags));
        fft.autocorrelation(power.data(), r.data(), lags);
        for (int32_t t = 0; t < lags; ++t) {
            double sum = 0.0;
            for (int32_t j = 0; j + t < count; ++j)
                sum += static_cast<double>(x[static_cast<size_t>(j)])
                        * x[static_cast<size_t>(j + t)];
            ASSERT_NEAR(r[static_cast<size_t>(t)], sum, 1e-9) << size << ", lag " << t;
        }
    }
}
