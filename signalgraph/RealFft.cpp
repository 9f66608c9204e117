#include "RealFft.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace corvane {

void RealFft::prepare(int32_t size)
{
    m_size = size;
    m_half = size / 2;
    const auto half = static_cast<size_t>(m_half);
    m_re.assign(half, 0.0);
    m_im.assign(half, 0.0);
    m_twRe.clear();
    m_twIm.clear();
    for (int32_t h = 1; h < m_half; h *= 2) {
        for (int32_t k = 0; k < h; ++k) {
            const double angle = -std::numbers::pi * k / h;
            m_twRe.push_back(std::cos(angle));
            m_twIm.push_back(std::sin(angle));
        }
    }
    m_packRe.resize(half);
    m_packIm.resize(half);
    for (int32_t k = 0; k < m_half; ++k) {
        const double angle = -2.0 * std::numbers::pi * k / size;
        m_packRe[static_cast<size_t>(k)] = std::cos(angle);
        m_packIm[static_cast<size_t>(k)] = std::sin(angle);
    }
    m_bitReversed.resize(half);
    int32_t bits = 0;
    while ((1 << bits) < m_half)
        ++bits;
    for (int32_t i = 0; i < m_half; ++i) {
        int32_t r = 0;
        for (int32_t b = 0; b < bits; ++b)
            r |= ((i >> b) & 1) << (bits - 1 - b);
        m_bitReversed[static_cast<size_t>(i)] = r;
    }
}

void RealFft::powerSpectrum(const float *x, int32_t count, double *power) noexcept
{
    // z[n] = x[2n] + i x[2n + 1]; Z = FFT(z) holds the spectra of the even and the odd samples,
    // and X[k] = E[k] + e^(-2 pi i k / N) O[k].
    for (int32_t n = 0; n < m_half; ++n) {
        const int32_t a = 2 * n, b = 2 * n + 1;
        m_re[static_cast<size_t>(n)] = a < count ? x[a] : 0.0;
        m_im[static_cast<size_t>(n)] = b < count ? x[b] : 0.0;
    }
    transform(-1.0);
    for (int32_t k = 0; k <= m_half; ++k) {
        const auto i = static_cast<size_t>(k % m_half);
        const auto j = static_cast<size_t>((m_half - k) % m_half);
        // E = (Z[k] + conj Z[N/2 - k]) / 2, O = (Z[k] - conj Z[N/2 - k]) / 2i.
        const double eRe = 0.5 * (m_re[i] + m_re[j]);
        const double eIm = 0.5 * (m_im[i] - m_im[j]);
        const double oRe = 0.5 * (m_im[i] + m_im[j]);
        const double oIm = -0.5 * (m_re[i] - m_re[j]);
        // The twiddle for k = N/2 is -1.
        const double wRe = k < m_half ? m_packRe[i] : -1.0;
        const double wIm = k < m_half ? m_packIm[i] : 0.0;
        const double re = eRe + wRe * oRe - wIm * oIm;
        const double im = eIm + wRe * oIm + wIm * oRe;
        power[k] = re * re + im * im;
    }
}

void RealFft::autocorrelation(const double *power, double *r, int32_t lags) noexcept
{
    // The inverse of the packing above for a real, even spectrum S: Z[k] = E[k] + i O[k] with
    // E = (S[k] + S[N/2 - k]) / 2 and O = (S[k] - S[N/2 - k]) e^(2 pi i k / N) / 2; the inverse
    // transform of Z gives r[2n] + i r[2n + 1] times N / 2.
    for (int32_t k = 0; k < m_half; ++k) {
        const auto i = static_cast<size_t>(k);
        const double a = power[k], b = power[m_half - k];
        const double e = 0.5 * (a + b), d = 0.5 * (a - b);
        const double oRe = d * m_packRe[i];
        const double oIm = -d * m_packIm[i];
        m_re[i] = e - oIm;
        m_im[i] = oRe;
    }
    transform(1.0);
    const double scale = 1.0 / m_half;
    for (int32_t t = 0; t < lags; ++t) {
        const auto n = static_cast<size_t>(t / 2);
        r[t] = (t % 2 == 0 ? m_re[n] : m_im[n]) * scale;
    }
}

void RealFft::transform(double sign) noexcept
{
    // Iterative radix-2, in place, unscaled; sign -1 forward, +1 inverse.
    double *re = m_re.data();
    double *im = m_im.data();
    for (int32_t i = 0; i < m_half; ++i) {
        const int32_t j = m_bitReversed[static_cast<size_t>(i)];
        if (i < j) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
    }
    const double *twRe = m_twRe.data();
    const double *twIm = m_twIm.data();
    for (int32_t h = 1; h < m_half; h *= 2) {
        for (int32_t start = 0; start < m_half; start += 2 * h) {
            double *aRe = re + start, *aIm = im + start;
            double *bRe = aRe + h, *bIm = aIm + h;
            for (int32_t k = 0; k < h; ++k) {
                const double wRe = twRe[k], wIm = -sign * twIm[k];
                const double tRe = bRe[k] * wRe - bIm[k] * wIm;
                const double tIm = bRe[k] * wIm + bIm[k] * wRe;
                bRe[k] = aRe[k] - tRe;
                bIm[k] = aIm[k] - tIm;
                aRe[k] += tRe;
                aIm[k] += tIm;
            }
        }
        twRe += h;
        twIm += h;
    }
}

} // namespace corvane
