#include "PitchRefiner.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace corvane {

namespace {

    // 2^(50/1200): a quarter-tone, the widest interval two estimates of one note may differ by.
    constexpr double kQuarterTone = 1.0293022366434921;

    // 2^(10/1200): how far the band estimate may lie above the period's value and still be kept
    // (against a quarter-tone below). 5 and 10 cents read the hissy E6 alike; 10 keeps more of the
    // sampled notes within 5 cents (make accuracy).
    constexpr double kBandSharpAllowance = 1.0057929410678534;

    // Below this mean square the window counts as silence (about -120 dBFS).
    constexpr double kSilentMeanSquare = 1e-12;

    int32_t powerOfTwoAtLeast(int32_t n) noexcept
    {
        int32_t p = 1;
        while (p < n)
            p *= 2;
        return p;
    }

    bool withinQuarterTone(double a, double b) noexcept
    {
        return a > 0.0 && b > 0.0 && a < b * kQuarterTone && b < a * kQuarterTone;
    }

} // namespace

void PitchRefiner::prepare(int32_t blockLength, double rate, double lowestHz, double highestHz,
                           int32_t hopLength)
{
    m_rate = rate;
    m_hopLength = hopLength > 0 && hopLength < blockLength ? hopLength : blockLength;
    // Lags of the lowest note, a little flat, and of the highest, a little sharp.
    int32_t maxLag = static_cast<int32_t>(std::ceil(rate / (lowestHz / kQuarterTone))) + 1;
    m_rangeMinLag =
            std::max(2, static_cast<int32_t>(std::floor(rate / (highestHz * kQuarterTone))));
    m_window = blockLength >= 2 * maxLag ? blockLength : 2 * blockLength;
    m_rangeMaxLag = std::max(std::min(maxLag, m_window * 2 / 3), m_rangeMinLag + 2);
    // The search reaches an octave beyond both limits where the window allows, so that a note
    // outside them is seen as such instead of being named by a partial inside them.
    m_minLag = std::max(2, m_rangeMinLag / 2);
    m_maxLag = std::max(std::min(2 * maxLag, m_window * 2 / 3), m_rangeMaxLag);

    const int32_t size = powerOfTwoAtLeast(m_window + m_maxLag + 2);
    m_frame.assign(static_cast<size_t>(m_window), 0.0f);
    m_centered.assign(static_cast<size_t>(m_window), 0.0f);
    m_fft.prepare(size);
    m_autocorrelation.assign(static_cast<size_t>(m_maxLag + 2), 0.0);
    m_power.assign(static_cast<size_t>(size / 2 + 1), 0.0);
    m_nsdf.assign(static_cast<size_t>(m_maxLag + 2), 0.0);
    m_energy.assign(static_cast<size_t>(m_maxLag + 2), 0.0);
    m_peaks.assign(static_cast<size_t>(m_maxLag / 2 + 2), {});
    m_peakCount = 0;
    m_used = m_window;
    m_searchMaxLag = m_maxLag;
}

PitchRefiner::Estimate PitchRefiner::estimate(const float *block, double bandEstimate,
                                              int32_t freshSamples) noexcept
{
    if (m_window == 0)
        return {};
    // The window ends with the new hop; what it held moves down by a hop.
    std::copy(m_frame.begin() + m_hopLength, m_frame.end(), m_frame.begin());
    std::copy(block, block + m_hopLength, m_frame.end() - m_hopLength);

    // After an onset only the sound since then is searched, and only lags it holds twice and a
    // half: the new note is not outvoted by the end of the old one.
    m_used = freshSamples >= 0 && freshSamples < m_window ? freshSamples : m_window;
    m_searchMaxLag = m_used == m_window ? m_maxLag : std::min(m_maxLag, m_used * 2 / 5);
    if (m_searchMaxLag < m_rangeMinLag + 2)
        return {}; // too little sound since the onset to tell yet
    const float *frame = m_frame.data() + (m_window - m_used);

    // A constant offset (a sample set or a sound card with DC on it) would keep n positive at every
    // lag; the window is searched without its mean.
    double mean = 0.0;
    for (int32_t i = 0; i < m_used; ++i)
        mean += frame[i];
    mean /= m_used;
    double energy = 0.0;
    for (int32_t i = 0; i < m_used; ++i) {
        const auto x = static_cast<float>(frame[i] - mean);
        m_centered[static_cast<size_t>(i)] = x;
        energy += static_cast<double>(x) * x;
    }
    if (energy < kSilentMeanSquare * m_used)
        return {};

    computeNsdf();
    findPeaks();
    refinePeaks();
    double clarity = 0.0;
    for (int32_t i = 0; i < m_peakCount; ++i)
        clarity = std::max(clarity, m_peaks[static_cast<size_t>(i)].value);
    if (clarity < kVoicingClarity)
        return { 0.0, clarity };

    // McLeod's choice: the shortest lag whose peak comes close to the highest one; the multiples
    // of the period score nearly as high and must not win.
    const Peak *chosen = nullptr;
    for (int32_t i = 0; i < m_peakCount && !chosen; ++i)
        if (m_peaks[static_cast<size_t>(i)].value >= kPeakFraction * clarity)
            chosen = &m_peaks[static_cast<size_t>(i)];
    // Reeds and bowed strings with a strong second partial put a peak at half the period that can
    // come within the fraction of the one at the period. When the band estimate points at a later
    // peak that is clearly higher, that one is the note (without this step, one oboe frame in
    // five came out an octave high on the benchmark).
    if (bandEstimate > 0.0) {
        for (int32_t i = 0; i < m_peakCount; ++i) {
            const Peak &p = m_peaks[static_cast<size_t>(i)];
            if (p.value >= chosen->value + kBandPeakMargin && p.lag > chosen->lag
                && withinQuarterTone(m_rate / p.lag, bandEstimate)) {
                chosen = &p;
                break;
            }
        }
    }
    // A window cut short by an onset must hold the period twice more than the lag found, or the
    // note an octave below could not have been seen: wait for more of it.
    if (m_used < m_window && m_searchMaxLag < m_maxLag && 2.0 * chosen->lag > m_searchMaxLag)
        return { 0.0, clarity };
    // The chosen peak is measured once more, centered on its first estimate.
    const double lag = closer(*chosen).lag;
    if (lag > m_rangeMaxLag)
        return { 0.0, clarity, PitchResult::Range::Below };
    if (lag < m_rangeMinLag)
        return { 0.0, clarity, PitchResult::Range::Above };
    const double hz = m_rate / lag;
    // Where both agree the band estimate is kept: the band meter follows the first partial, while
    // the period is a compromise between all of them, which lies several cents above the first
    // partial for the stretched partials of a piano (median 12.6 cents against 0.02 on the
    // benchmark). The agreement is lopsided because the meter's own errors are: faint noise adds
    // zero crossings where the wave comes close to zero, so a misled meter reads sharp (an E6 at
    // 11025 Hz over hiss 60 dB below it read 40 ... 70 cents sharp).
    // The band meters measure the whole window: after an onset they still hear the old note.
    const bool bandAgrees = m_used == m_window && bandEstimate > 0.0
            && bandEstimate < hz * kBandSharpAllowance && hz < bandEstimate * kQuarterTone;
    return { bandAgrees ? bandEstimate : hz, clarity };
}

void PitchRefiner::computeNsdf() noexcept
{
    // r(t) for all lags at once: the inverse transform of the power spectrum of the zero-padded
    // window (long enough that the circular products do not wrap into the lags searched).
    m_fft.powerSpectrum(m_centered.data(), m_used, m_power.data());
    m_fft.autocorrelation(m_power.data(), m_autocorrelation.data(),
                          static_cast<int32_t>(m_autocorrelation.size()));
    // The cosine sums of nsdfAround stop at the last bin that holds any power.
    double total = 0.0;
    for (double p : m_power)
        total += p;
    double tail = 0.0;
    m_topBin = static_cast<int32_t>(m_power.size()) - 1;
    while (m_topBin > 1 && tail + m_power[static_cast<size_t>(m_topBin)] <= 1e-12 * total)
        tail += m_power[static_cast<size_t>(m_topBin--)];

    // m(t) = sum of x[j]^2 + x[j + t]^2 over the overlap, shrinking by two squares per lag.
    const float *x = m_centered.data();
    double m = 0.0;
    for (int32_t i = 0; i < m_used; ++i)
        m += 2.0 * x[i] * x[i];
    const int32_t w = m_used;
    const int32_t lags = std::min(static_cast<int32_t>(m_nsdf.size()), m_searchMaxLag + 2);
    std::fill(m_nsdf.begin() + lags, m_nsdf.end(), 0.0);
    for (int32_t t = 0; t < lags; ++t) {
        if (t > 0)
            m -= static_cast<double>(x[t - 1]) * x[t - 1]
                    + static_cast<double>(x[w - t]) * x[w - t];
        const double r = m_autocorrelation[static_cast<size_t>(t)];
        m_energy[static_cast<size_t>(t)] = m;
        m_nsdf[static_cast<size_t>(t)] = m > 1e-30 ? 2.0 * r / m : 0.0;
    }
}

std::array<double, 3> PitchRefiner::nsdfAround(double lag, double spacing) const noexcept
{
    // r at fractional lags, interpolated through the spectrum (exact for the band-limited
    // signal): r(t) = (1/N) (S_0 + 2 sum_k S_k cos(2 pi k t / N) + S_N/2 cos(pi t)). The three
    // lags lag - spacing, lag, lag + spacing share one pass: the cosines of k (a -+ b) come from
    // those of k a and k b, each kept by rotation.
    const auto size = static_cast<double>(m_fft.size());
    const double a = 2.0 * std::numbers::pi * lag / size;
    const double b = 2.0 * std::numbers::pi * spacing / size;
    const double cosA = std::cos(a), sinA = std::sin(a), cosB = std::cos(b), sinB = std::sin(b);
    double ca = 1.0, sa = 0.0, cb = 1.0, sb = 0.0;
    double below = m_power[0], at = m_power[0], above = m_power[0];
    const auto top = static_cast<size_t>(m_topBin);
    for (size_t k = 1; k <= top; ++k) {
        const double nextA = ca * cosA - sa * sinA;
        sa = sa * cosA + ca * sinA;
        ca = nextA;
        const double nextB = cb * cosB - sb * sinB;
        sb = sb * cosB + cb * sinB;
        cb = nextB;
        const double weight = k == m_power.size() - 1 ? m_power[k] : 2.0 * m_power[k];
        at += weight * ca;
        below += weight * (ca * cb + sa * sb);
        above += weight * (ca * cb - sa * sb);
    }
    std::array<double, 3> n {};
    const double lags[3] = { lag - spacing, lag, lag + spacing };
    const double r[3] = { below / size, at / size, above / size };
    for (int i = 0; i < 3; ++i) {
        // m changes slowly with the lag: linear interpolation is enough.
        const auto t = static_cast<size_t>(lags[i]);
        const double frac = lags[i] - static_cast<double>(t);
        const double m = m_energy[t] + (m_energy[t + 1] - m_energy[t]) * frac;
        n[static_cast<size_t>(i)] = m > 1e-30 ? 2.0 * r[i] / m : 0.0;
    }
    return n;
}

void PitchRefiner::refinePeaks() noexcept
{
    // The shortest-lag peaks are the ones the choice looks at; the later ones are multiples of the
    // period and keep their sampled heights.
    double highest = 0.0;
    for (int32_t i = 0; i < m_peakCount; ++i)
        highest = std::max(highest, m_peaks[static_cast<size_t>(i)].value);
    int32_t refined = 0;
    for (int32_t i = 0; i < m_peakCount && refined < kRefinedPeaks; ++i) {
        Peak &p = m_peaks[static_cast<size_t>(i)];
        if (p.value < kRefineFraction * highest)
            continue;
        p = refinePeak(p);
        ++refined;
    }
}

PitchRefiner::Peak PitchRefiner::refinePeak(const Peak &sampled) const noexcept
{
    // A parabola through the three samples around the top finds it to a fraction of a sample;
    // with few samples per period that is coarse in both place and height, so a second parabola
    // goes through exact values a tenth of a sample either side of the first estimate.
    const auto top = static_cast<int32_t>(sampled.lag);
    const Peak coarse =
            parabola(m_nsdf[static_cast<size_t>(top - 1)], m_nsdf[static_cast<size_t>(top)],
                     m_nsdf[static_cast<size_t>(top + 1)], 1.0);
    return closer({ std::clamp(top + coarse.lag, top - 0.5, top + 0.5), coarse.value });
}

PitchRefiner::Peak PitchRefiner::parabola(double a, double b, double c, double spacing) noexcept
{
    const double curve = a - 2.0 * b + c;
    const double shift = curve < 0.0 ? 0.5 * (a - c) / curve : 0.0;
    return { shift * spacing, b - 0.25 * (a - c) * shift };
}

PitchRefiner::Peak PitchRefiner::closer(const Peak &estimate) const noexcept
{
    constexpr double kSpacing = 0.1;
    const double center = estimate.lag;
    const std::array<double, 3> n = nsdfAround(center, kSpacing);
    const Peak fine = parabola(n[0], n[1], n[2], kSpacing);
    return { center + std::clamp(fine.lag, -kSpacing, kSpacing), fine.value };
}

void PitchRefiner::findPeaks() noexcept
{
    // Key maxima: the highest point of each positive lobe of n, after the lobe around lag 0.
    m_peakCount = 0;
    const auto last = static_cast<int32_t>(m_nsdf.size()) - 1;
    int32_t t = 1;
    while (t < last && m_nsdf[static_cast<size_t>(t)] > 0.0)
        ++t;
    int32_t best = -1;
    for (; t < last; ++t) {
        const double v = m_nsdf[static_cast<size_t>(t)];
        if (v <= 0.0) {
            best = -1;
            continue;
        }
        if (best < 0 || v > m_nsdf[static_cast<size_t>(best)])
            best = t;
        // The lobe ends here, or the range does: keep its top if it is a true maximum.
        const bool lobeEnds = m_nsdf[static_cast<size_t>(t + 1)] <= 0.0 || t + 1 == last;
        if (!lobeEnds)
            continue;
        if (best >= m_minLag && best <= m_searchMaxLag && best + 1 <= last
            && m_peakCount < static_cast<int32_t>(m_peaks.size())) {
            const double a = m_nsdf[static_cast<size_t>(best - 1)];
            const double b = m_nsdf[static_cast<size_t>(best)];
            const double c = m_nsdf[static_cast<size_t>(best + 1)];
            if (b >= a && b >= c)
                m_peaks[static_cast<size_t>(m_peakCount++)] = { static_cast<double>(best), b };
        }
        best = -1;
    }
}

} // namespace corvane
