#pragma once

#include <cstdint>
#include <vector>

namespace corvane {

// Power spectrum and autocorrelation of a real signal through a radix-2 FFT of half the length
// (the real signal packed as complex pairs). Used by the pitch refinement stage.
//
// prepare allocates; powerSpectrum and autocorrelation do not and never throw. Reentrant but not
// thread-safe: one instance per thread.
class RealFft
{
public:
    // `size` is the transform length, a power of two of at least 4.
    void prepare(int32_t size);
    int32_t size() const noexcept { return m_size; }

    // |X_k|^2 for k = 0 ... size / 2 of x[0 ... count) zero-padded to the transform length
    // (count <= size). `power` holds size / 2 + 1 values.
    void powerSpectrum(const float *x, int32_t count, double *power) noexcept;

    // The circular autocorrelation sum_j x[j] x[(j + t) mod size] for t = 0 ... lags - 1 from the
    // power spectrum of powerSpectrum (lags <= size). With at least as many zeros padded as the
    // lags asked for, no product wraps around.
    void autocorrelation(const double *power, double *r, int32_t lags) noexcept;

private:
    void transform(double sign) noexcept;

    int32_t m_size = 0;
    int32_t m_half = 0;                     // length of the complex transform
    std::vector<double> m_re, m_im;         // its work area
    std::vector<double> m_twRe, m_twIm;     // e^(-2 pi i k / (2h)) for each stage h, k < h, in turn
    std::vector<double> m_packRe, m_packIm; // e^(-2 pi i k / size), k < size / 2
    std::vector<int32_t> m_bitReversed;
};

} // namespace corvane
