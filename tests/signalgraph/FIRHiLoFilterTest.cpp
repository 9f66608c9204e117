#include "FIRHiLoFilter.h"
#include "GraphTestKit.h"
#include "Signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace corvane;
using namespace corvane::test;

namespace {

// A band splitter fed by a float source, both outputs recorded.
struct SplitRig
{
    SplitRig(MediaFormat format, int32_t divisor, int32_t taps, int32_t window)
        : source(format)
    {
        filter.design(divisor, taps, window);
        source.out.connect(filter.inputPin(1));
        filter.outputPin(2)->connect(&high.in);
        filter.outputPin(3)->connect(&low.in);
    }

    Feeder source;
    FIRHiLoFilter filter;
    Recorder high, low;
};

// The band definitions straight from the formula: every output summed over all N taps in long
// double and rounded once.
void exactSplit(const FIRHiLoFilter &f, const std::vector<float> &x, std::vector<long double> &high,
                std::vector<long double> &low)
{
    const int32_t m = (f.taps() - 1) / 2;
    auto at = [&](long i) {
        return i < 0 ? 0.0L : static_cast<long double>(x[static_cast<size_t>(i)]);
    };
    high.assign(x.size(), 0.0L);
    low.assign(x.size(), 0.0L);
    for (long n = 0; n < static_cast<long>(x.size()); ++n) {
        long double sum = 0.0L;
        for (int32_t k = -m; k <= m; ++k)
            sum += static_cast<long double>(f.coefficient(std::abs(k))) * at(n - m + k);
        low[n] = sum;
        high[n] = at(n - m) - sum;
    }
}

// The older way of computing the bands, one output at a time and rounded to single precision
// after every term; kept to show that the split is at least as accurate.
void termByTermSplit(const FIRHiLoFilter &f, const std::vector<float> &x, std::vector<float> &high,
                     std::vector<float> &low)
{
    const int32_t m = (f.taps() - 1) / 2;
    auto at = [&](long i) { return i < 0 ? 0.0f : x[static_cast<size_t>(i)]; };
    high.assign(x.size(), 0.0f);
    low.assign(x.size(), 0.0f);
    for (long n = 0; n < static_cast<long>(x.size()); ++n) {
        const float c = at(n - m);
        low[n] = static_cast<float>(f.coefficient(0) * c);
        high[n] = static_cast<float>((1.0 - f.coefficient(0)) * c);
        for (int32_t k = 1; k <= m; ++k) {
            const float s = at(n - m - k) + at(n - m + k);
            low[n] += f.coefficient(k) * s;
            high[n] -= f.coefficient(k) * s;
        }
    }
}

// Largest |a - exact| over a signal.
template<typename T>
long double worstError(const std::vector<T> &a, const std::vector<long double> &exact)
{
    long double worst = 0.0L;
    for (size_t i = 0; i < a.size(); ++i)
        worst = std::max(worst, std::abs(static_cast<long double>(a[i]) - exact[i]));
    return worst;
}

} // namespace

TEST(FIRHiLoFilter, EffectiveLengthsKeepTapsPlusOneDivisibleByFour)
{
    FIRHiLoFilter f;
    EXPECT_EQ(f.taps(), 31);
    EXPECT_EQ(f.window(), FIRHiLoFilter::kBlackman);
    const std::pair<int32_t, int32_t> cases[] = { { 20, 31 },   { 34, 31 },   { 35, 35 },
                                                  { 36, 35 },   { 150, 147 }, { 151, 151 },
                                                  { 111, 111 }, { 71, 71 } };
    for (auto [requested, expected] : cases) {
        f.design(16, requested, FIRHiLoFilter::kHamming);
        EXPECT_EQ(f.taps(), expected) << "requested " << requested;
        EXPECT_EQ(f.historyLength(), expected - 1);
        EXPECT_EQ(f.history().size(), static_cast<size_t>(expected - 1));
    }

    // A divisor below 2 keeps the cut-off of the previous design.
    const double omega = f.omega();
    f.design(1, 71, FIRHiLoFilter::kHamming);
    EXPECT_EQ(f.omega(), omega);
}

TEST(FIRHiLoFilter, SplitsAtOneSixteenthOfTheRate)
{
    const double rate = 11025.0;
    for (auto [hz, lowBand] : { std::pair { rate / 64, true }, std::pair { rate / 4, false } }) {
        SplitRig rig({ 1024, rate }, 16, 151, FIRHiLoFilter::kHamming);
        rig.source.pushAll(sine(hz, rate, 4096));
        // Skip the first block: the filter starts from silence.
        const double high = rms(rig.high.samples.data() + 1024, 3072);
        const double low = rms(rig.low.samples.data() + 1024, 3072);
        const double wanted = lowBand ? low : high;
        const double leaked = lowBand ? high : low;
        EXPECT_NEAR(wanted, 0.5 / std::sqrt(2.0), 0.01) << hz << " Hz";
        EXPECT_LT(leaked, 0.001 * wanted) << hz << " Hz";
    }
}

TEST(FIRHiLoFilter, BandsSumToTheInputDelayedByHalfTheLength)
{
    SplitRig rig({ 256, 8000.0 }, 16, 151, FIRHiLoFilter::kHamming);
    const std::vector<float> x = noise(2048);
    rig.source.pushAll(x);
    const size_t m = 75;
    for (size_t n = 0; n < x.size(); ++n) {
        const float delayed = n < m ? 0.0f : x[n - m];
        ASSERT_NEAR(rig.high.samples[n] + rig.low.samples[n], delayed, 2e-6f) << "sample " << n;
    }
}

// Every output is the exact band value rounded once: within half a unit in the last place of
// single precision (at most 2^-24 relative) plus the double accumulation's own error, far below
// 1e-12 for signals in -1 ... 1. That holds for every block length, so that runs of 32, of 8 and
// single outputs, and blocks shorter and longer than the history, all give the same bands; the
// history ends newest first. The older term-by-term rounding is never more accurate.
TEST(FIRHiLoFilter, EveryOutputIsTheExactBandRoundedOnce)
{
    for (int32_t length : { 1024, 256, 45, 16, 7 }) {
        for (int32_t taps : { 151, 71, 31 }) {
            SplitRig rig({ length, 11025.0 }, 16, taps, FIRHiLoFilter::kHamming);
            const auto blocks = static_cast<size_t>(std::max(3, 600 / length));
            const std::vector<float> x = noise(static_cast<size_t>(length) * blocks, 0.9f, 11);
            rig.source.pushAll(x);
            std::vector<long double> high, low;
            exactSplit(rig.filter, x, high, low);
            for (size_t n = 0; n < x.size(); ++n) {
                const long double lowBound = std::abs(low[n]) * 0x1p-24L + 1e-12L;
                const long double highBound = std::abs(high[n]) * 0x1p-24L + 1e-12L;
                ASSERT_LE(std::abs(rig.low.samples[n] - low[n]), lowBound)
                        << length << " samples, " << taps << " taps, output " << n;
                ASSERT_LE(std::abs(rig.high.samples[n] - high[n]), highBound)
                        << length << " samples, " << taps << " taps, output " << n;
            }
            std::vector<float> oldHigh, oldLow;
            termByTermSplit(rig.filter, x, oldHigh, oldLow);
            EXPECT_LE(worstError(rig.low.samples, low), worstError(oldLow, low));
            EXPECT_LE(worstError(rig.high.samples, high), worstError(oldHigh, high));
            const std::vector<float> newestFirst(x.rbegin(), x.rbegin() + taps - 1);
            EXPECT_EQ(rig.filter.history(), newestFirst) << length << " samples, " << taps;
        }
    }
}

TEST(FIRHiLoFilter, SwitchesCopySilenceOrSplitAndOnlySplittingAdvancesTheHistory)
{
    const std::vector<float> a = noise(64, 0.5f, 1), b = noise(64, 0.5f, 2), c = noise(64, 0.5f, 3);
    const std::vector<float> silence(64, 0.0f);
    SplitRig rig({ 64, 1000.0 }, 16, 71, FIRHiLoFilter::kHamming);
    EXPECT_DOUBLE_EQ(rig.filter.stageDelay(), 70 / 1000.0);
    rig.source.push(a.data());

    struct Case
    {
        bool highOn, lowOn;
        const std::vector<float> &high, &low;
    };
    for (const Case &sw : { Case { true, false, b, silence }, Case { false, true, silence, b },
                            Case { false, false, silence, silence } }) {
        rig.filter.setHighOn(sw.highOn);
        rig.filter.setLowOn(sw.lowOn);
        EXPECT_EQ(rig.filter.stageDelay(), 0.0);
        rig.high.samples.clear();
        rig.low.samples.clear();
        rig.source.push(b.data());
        EXPECT_EQ(rig.high.samples, sw.high);
        EXPECT_EQ(rig.low.samples, sw.low);
    }

    // Switched back on, the filter continues as if the switched blocks had never come.
    rig.filter.setHighOn(true);
    rig.filter.setLowOn(true);
    rig.high.samples.clear();
    rig.low.samples.clear();
    rig.source.push(c.data());
    SplitRig straight({ 64, 1000.0 }, 16, 71, FIRHiLoFilter::kHamming);
    straight.source.push(a.data());
    straight.low.samples.clear();
    straight.source.push(c.data());
    EXPECT_EQ(rig.low.samples, straight.low.samples);
}

TEST(FIRHiLoFilter, DesignRestartsFromSilence)
{
    const std::vector<float> x = noise(512, 0.5f, 5);
    SplitRig used({ 256, 8000.0 }, 16, 111, FIRHiLoFilter::kHamming);
    used.source.push(x.data());
    used.filter.design(16, 111, FIRHiLoFilter::kHamming);
    for (float h : used.filter.history())
        ASSERT_EQ(h, 0.0f);
    used.low.samples.clear();
    used.source.push(x.data() + 256);

    SplitRig fresh({ 256, 8000.0 }, 16, 111, FIRHiLoFilter::kHamming);
    fresh.source.push(x.data() + 256);
    EXPECT_EQ(used.low.samples, fresh.low.samples);
}
