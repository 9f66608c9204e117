#include "FIRHiLoFilter.h"

#include "SinglePrecisionPi.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace corvane {

namespace {

    using spi::kFourPi;
    using spi::kInversePi;
    using spi::kPi;
    using spi::kTwoPi;

// The stage filters are the analyzer's hot path. Each output is accumulated in double precision
// and rounded to single precision once: low = float(h[0] c + sum h[k] s_k), high = float(c - that
// sum), with the line converted to double once per block. That is more accurate than rounding
// after every term and lets a run of consecutive outputs be computed side by side, which the
// compiler turns into vector instructions. The order of the additions is fixed (no fused
// multiply-add, see CMakeLists.txt), so the bands do not depend on the instruction set.
// The sanitizers run code before they are set up when the loader picks a clone, so their builds
// take the one plain version.
#if defined(__GNUC__) && defined(__x86_64__) && !defined(__SANITIZE_ADDRESS__) \
        && !defined(__SANITIZE_THREAD__)
#define CORVANE_SPLIT_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define CORVANE_SPLIT_CLONES
#endif

    // Runs of 32 and of 8 outputs, as the compiler's generic vectors (it splits them into whatever
    // registers the instruction set has).
    typedef double Doubles32 __attribute__((vector_size(32 * sizeof(double))));
    typedef double Doubles8 __attribute__((vector_size(8 * sizeof(double))));
    typedef float Floats32 __attribute__((vector_size(32 * sizeof(float))));
    typedef float Floats8 __attribute__((vector_size(8 * sizeof(float))));

    // Computes one run of outputs; center[i] is the sample x(n - M) of output i of the run. Always
    // inlined, so that it is compiled for the instruction set of each clone of splitBlock.
    template<typename Doubles, typename Floats>
    __attribute__((always_inline)) inline void splitRun(const double *center, const double *h,
                                                        int32_t m, float *high, float *low) noexcept
    {
        Doubles c;
        std::memcpy(&c, center, sizeof c);
        Doubles lo = c * h[0];
        for (int32_t k = 1; k <= m; ++k) {
            Doubles before, after;
            std::memcpy(&before, center - k, sizeof before);
            std::memcpy(&after, center + k, sizeof after);
            lo += (before + after) * h[k];
        }
        const Floats lowRun = __builtin_convertvector(lo, Floats);
        const Floats highRun = __builtin_convertvector(c - lo, Floats);
        std::memcpy(low, &lowRun, sizeof lowRun);
        std::memcpy(high, &highRun, sizeof highRun);
    }

    CORVANE_SPLIT_CLONES
    void splitBlock(const double *center, const double *h, int32_t m, float *high, float *low,
                    int32_t length) noexcept
    {
        int32_t n = 0;
        for (; n + 32 <= length; n += 32)
            splitRun<Doubles32, Floats32>(center + n, h, m, high + n, low + n);
        for (; n + 8 <= length; n += 8)
            splitRun<Doubles8, Floats8>(center + n, h, m, high + n, low + n);
        for (; n < length; ++n) {
            const double *x = center + n;
            double lo = x[0] * h[0];
            for (int32_t k = 1; k <= m; ++k)
                lo += (x[-k] + x[k]) * h[k];
            low[n] = static_cast<float>(lo);
            high[n] = static_cast<float>(x[0] - lo);
        }
    }

} // namespace

FIRHiLoFilter::FIRHiLoFilter()
    : Filter(1, 2)
{
    design(4, 31, kBlackman);
}

void FIRHiLoFilter::design(int32_t divisor, int32_t requestedLength, int32_t windowCode)
{
    const int32_t taps = requestedLength >= 35 ? requestedLength - (requestedLength + 1) % 4 : 31;
    m_historyLength = taps - 1;
    const double omega = divisor >= 2 ? 2.0 * kPi / divisor : m_omega;
    if (m_coefficients.empty() || taps != m_taps || windowCode != m_window || omega != m_omega) {
        m_taps = taps;
        m_window = windowCode;
        m_omega = omega;
        computeCoefficients();
    }
    m_history.assign(static_cast<size_t>(m_historyLength), 0.0f);
    sizeLine();
}

void FIRHiLoFilter::computeCoefficients()
{
    m_coefficients.assign(static_cast<size_t>(m_taps), 0.0);
    const int32_t m = (m_taps - 1) / 2;
    const double d = m_taps - 1;
    m_coefficients[0] = m_omega * kInversePi;
    for (int32_t k = 1; k <= m; ++k) {
        double h = std::sin(k * m_omega) / (k * kPi);
        // Both windows are 1 at the center, so h[0] is left as it is.
        const double at = m + k;
        if (m_window == kHamming)
            h *= 0.54 - 0.46 * std::cos(at * kTwoPi / d);
        else if (m_window == kBlackman)
            h *= 0.42 - 0.5 * std::cos(at * kTwoPi / d) + 0.08 * std::cos(at * kFourPi / d);
        m_coefficients[static_cast<size_t>(k)] = h;
    }
}

void FIRHiLoFilter::sizeLine()
{
    m_line.assign(static_cast<size_t>(m_historyLength + std::max(m_blockLength, 0)), 0.0);
}

double FIRHiLoFilter::stageDelay() const noexcept
{
    const MediaSample *media = m_in.media();
    if (!m_highOn || !m_lowOn || !media || !(media->format.sampleRate > 0.0))
        return 0.0;
    return (m_taps - 1) / media->format.sampleRate;
}

void FIRHiLoFilter::configure(const MediaFormat &format)
{
    m_blockLength = format.length;
    sizeLine();
    setOutputFormat(m_high, format);
    setOutputFormat(m_low, format);
}

bool FIRHiLoFilter::process()
{
    if (!inputReady(m_in))
        return false;
    const MediaSample &in = *m_in.media();
    if (!outputInStep(m_high, in) || !outputInStep(m_low, in) || in.format.length != m_blockLength)
        return false;

    const int32_t length = in.format.length;
    const float *x = in.buffer();
    float *high = m_high.media()->buffer();
    float *low = m_low.media()->buffer();
    const size_t bytes = static_cast<size_t>(length) * sizeof(float);
    if (m_highOn && m_lowOn) {
        split(x, high, low, length);
        advanceHistory(x, length);
    } else {
        if (m_highOn)
            std::memcpy(high, x, bytes);
        else
            std::memset(high, 0, bytes);
        if (m_lowOn)
            std::memcpy(low, x, bytes);
        else
            std::memset(low, 0, bytes);
    }
    deliverAll(m_high, m_low);
    return true;
}

void FIRHiLoFilter::split(const float *in, float *high, float *low, int32_t length) noexcept
{
    // m_line = x(-(N-1)) ... x(-1), x(0) ... x(L-1); output n is centered on x(n - M).
    double *line = m_line.data();
    std::reverse_copy(m_history.begin(), m_history.end(), line);
    std::copy(in, in + length, line + m_historyLength);
    const int32_t m = m_historyLength / 2;
    splitBlock(line + m_historyLength - m, m_coefficients.data(), m, high, low, length);
}

void FIRHiLoFilter::advanceHistory(const float *in, int32_t length) noexcept
{
    float *history = m_history.data();
    if (length >= m_historyLength) {
        for (int32_t j = 0; j < m_historyLength; ++j)
            history[j] = in[length - 1 - j];
        return;
    }
    // A short block: the older samples move back by `length` places (memmove reads before it
    // writes), then the block fills the front, newest first.
    std::memmove(history + length, history,
                 static_cast<size_t>(m_historyLength - length) * sizeof(float));
    for (int32_t j = 0; j < length; ++j)
        history[j] = in[length - 1 - j];
}

} // namespace corvane
