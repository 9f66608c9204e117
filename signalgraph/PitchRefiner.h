#pragma once

#include "PitchResult.h"
#include "RealFft.h"

#include <array>
#include <cstdint>
#include <vector>

namespace corvane {

// The refinement stage of the pitch analyzer: a periodicity search over the whole lag range of
// the analyzer's limits on the delay-aligned full-band signal, which checks and, where needed,
// replaces the band estimate of each block.
//
// The search uses the normalized square difference function of McLeod & Wyvill, "A smarter way
// to find pitch" (ICMC 2005): n(t) = 2 r(t) / m(t), with r the autocorrelation over the window
// and m the summed energy of the two overlapping parts, so that n lies in -1 ... 1 and a signal
// that repeats exactly after t samples gives 1. Like the cumulative-mean-normalized difference of
// de Cheveigné & Kawahara, "YIN, a fundamental frequency estimator for speech and music" (JASA
// 111(4), 2002), it does not favor short lags; unlike it, its peak height is a clarity measure
// in 0 ... 1 that can be used for voicing. r is computed through the FFT.
//
// The choice between peaks follows McLeod's rule (the first key maximum within a fraction of the
// highest one), with two changes measured on rendered instruments (make accuracy): the analyzer's
// band estimate may move the choice to a clearly higher peak at a longer lag, and when the band
// estimate lies from 50 cents below to a few cents above the period's value, the band estimate's
// value is kept (a zero-crossing meter misled by noise reads sharp). The peaks that matter are
// measured between samples through the spectrum, so that high notes with few samples per period are
// not misread.
//
// Life: prepare (allocates), then estimate once per block. One thread at a time; estimate
// allocates nothing and never throws.
class PitchRefiner
{
public:
    struct Estimate
    {
        double hz = 0.0;      // 0.0 means no pitch (silence, clarity below the voicing floor, a
                              // note outside the limits, or a window too short yet)
        double clarity = 0.0; // height of the highest peak of n, 0 ... 1 (a hair above 1 where
                              // a peak is interpolated between samples)
        // Below / Above: a clear period outside the limits.
        PitchResult::Range range = PitchResult::Range::Within;
    };

    // Blocks of `blockLength` samples at `rate` Hz; pitches from lowestHz to highestHz are
    // searched. The window is the last block, or the last two when a block holds fewer than two
    // periods of lowestHz; it moves by `hopLength` samples (0: by the block) per estimate, which
    // must divide the block. Rates, lengths and limits must be positive; the lowest limit is
    // clamped so that the window holds at least one and a half periods.
    void prepare(int32_t blockLength, double rate, double lowestHz, double highestHz,
                 int32_t hopLength = 0);

    // Takes the next hop of the full-band signal (hopLength samples, aligned with the band
    // signals) and returns the refined estimate of the window that ends with it. `bandEstimate` is
    // the analyzer's corrected band estimate in Hz (0.0 when it has none). Before prepare, returns
    // no pitch. `freshSamples`: how many samples ago a new note began (the window is cut there
    // until it is full again), or -1 for the whole window.
    Estimate estimate(const float *block, double bandEstimate, int32_t freshSamples = -1) noexcept;

    // Blocks whose clarity lies below this give no pitch: white noise stays well below it over a
    // 93 ms window, a steady instrument note above 0.8, the attack of a plucked note about 0.5.
    static constexpr double kVoicingClarity = 0.5;

    // A peak counts as a candidate when it reaches this fraction of the highest peak.
    static constexpr double kPeakFraction = 0.9;

    // The band estimate may choose a peak at a longer lag that is higher than the first choice by
    // at least this much.
    static constexpr double kBandPeakMargin = 0.03;

private:
    // Peaks whose sampled height reaches this fraction of the highest are measured exactly, the
    // first few of them in order of lag (with few samples per period the sampled heights can be
    // far below the true ones).
    static constexpr double kRefineFraction = 0.3;
    static constexpr int32_t kRefinedPeaks = 5;

    struct Peak
    {
        double lag = 0.0;   // samples, interpolated
        double value = 0.0; // n at the interpolated lag
    };

    void computeNsdf() noexcept;
    void findPeaks() noexcept;
    void refinePeaks() noexcept;
    Peak refinePeak(const Peak &sampled) const noexcept;
    Peak closer(const Peak &estimate) const noexcept;
    // A parabola through values a, b, c taken `spacing` apart: the offset of its top from b (as
    // `lag`) and its height.
    static Peak parabola(double a, double b, double c, double spacing) noexcept;
    // n at lag - spacing, lag and lag + spacing (lag - spacing >= 0, lag + spacing <= max lag).
    std::array<double, 3> nsdfAround(double lag, double spacing) const noexcept;

    double m_rate = 0.0;
    int32_t m_hopLength = 0;       // samples taken per estimate
    int32_t m_window = 0;          // samples analyzed per estimate
    int32_t m_rangeMinLag = 2;     // samples, for the highest limit
    int32_t m_rangeMaxLag = 0;     // samples, for the lowest limit
    int32_t m_minLag = 2;          // samples searched: an octave beyond the highest limit
    int32_t m_maxLag = 0;          // ... and the lowest, where the window allows
    int32_t m_used = 0;            // samples of the window searched this time
    int32_t m_searchMaxLag = 0;    // the longest lag searched this time
    std::vector<float> m_frame;    // the last m_window samples, oldest first
    std::vector<float> m_centered; // the same without their mean
    RealFft m_fft;
    std::vector<double> m_power;           // |X_k|^2 for k = 0 ... size / 2
    std::vector<double> m_autocorrelation; // r(t) for t = 0 ... m_maxLag + 1
    int32_t m_topBin = 0;                  // the last bin of m_power that holds any power
    std::vector<double> m_nsdf;            // n(t) for t = 0 ... m_maxLag + 1
    std::vector<double> m_energy;          // m(t) for the same lags
    std::vector<Peak> m_peaks;             // key maxima in order of lag; capacity fixed by prepare
    int32_t m_peakCount = 0;
};

} // namespace corvane
