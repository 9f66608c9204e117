#include "PostProcessing.h"

#include "CPitch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace corvane {

void postProcess(SampleList &samples, double noiseThreshold, const CPitch &notes, int32_t hopFrames)
{
    markVoicing(samples, noiseThreshold * 0.5);
    placeOnsets(samples, hopFrames, notes);
    smoothFrequencies(samples, 3, notes);
    smoothFrequencies(samples, 5, notes);
    markStability(samples);
}

void markVoicing(SampleList &samples, double threshold) noexcept
{
    for (CSample &sample : samples)
        sample.setVoiced(sample.level() > threshold
                         && sample.outOfRange() == CSample::OutOfRange::No);
}

double medianNear(double *values, std::size_t count, double center) noexcept
{
    if (count == 0)
        return 0.0;
    std::sort(values, values + count);
    if (count % 2 == 1)
        return values[count / 2];
    const double lower = values[count / 2 - 1];
    const double upper = values[count / 2];
    return std::abs(upper - center) < std::abs(lower - center) ? upper : lower;
}

void placeOnsets(SampleList &samples, int32_t hopFrames, const CPitch &notes) noexcept
{
    constexpr std::size_t kLookAhead = 8;
    const std::size_t count = samples.size();
    for (std::size_t i = 0; i < count; ++i) {
        const int32_t onset = samples[i].onsetFrames();
        if (onset < 0 || !samples[i].voiced())
            continue;
        std::size_t first = 2 * onset > hopFrames ? i : i + 1;
        if (first < count && samples[first].voiced()) {
            // Where the analyzer named the new note already in the onset's sample, it begins
            // there.
            if (first > i && samples[i].frequency() > 0.0 && samples[first].frequency() > 0.0
                && samples[i].note() == samples[first].note())
                first = i;
            samples[first].setBeginsNote(true);
        }
        // The first sample after the onset with the new note's pitch.
        std::size_t named = i + 1;
        while (named < count && named <= i + kLookAhead && samples[named].voiced()
               && samples[named].onsetFrames() < 0 && samples[named].frequency() <= 0.0)
            ++named;
        if (named >= count || named > i + kLookAhead || !samples[named].voiced()
            || samples[named].frequency() <= 0.0)
            continue;
        const double hz = samples[named].frequency();
        for (std::size_t k = first; k < named; ++k)
            samples[k].setFrequency(hz, notes);
        if (first > i && i > 0 && samples[i].frequency() <= 0.0 && samples[i - 1].voiced())
            samples[i].setFrequency(samples[i - 1].frequency(), notes);
    }
}

void smoothFrequencies(SampleList &samples, int window, const CPitch &notes)
{
    if (window < 1)
        return;
    if (window % 2 == 0)
        ++window;
    window = std::min(window, 9);
    const std::size_t n = samples.size();
    if (n < static_cast<std::size_t>(window))
        return;
    const std::size_t half = static_cast<std::size_t>(window - 1) / 2;

    // Every center sees its neighbors as they were before this pass changed any of them.
    std::vector<double> original(n);
    for (std::size_t i = 0; i < n; ++i)
        original[i] = samples[i].voiced() ? samples[i].frequency() : 0.0;

    // The collected values plus two extra copies of the center.
    std::array<double, 9 + 2> values {};
    std::array<double, 9 + 2> scratch {};
    for (std::size_t c = half; c + half < n; ++c) {
        if (!samples[c].voiced())
            continue;
        const double center = original[c];
        std::size_t count = 0;
        values[count++] = center;
        for (std::size_t k = 1; k <= half && samples[c - k].voiced(); ++k)
            values[count++] = original[c - k];
        for (std::size_t k = 1; k <= half && samples[c + k].voiced(); ++k)
            values[count++] = original[c + k];
        if (count <= 2)
            continue;

        std::copy_n(values.begin(), count, scratch.begin());
        const double m1 = medianNear(scratch.data(), count, center);
        std::copy_n(values.begin(), count, scratch.begin());
        scratch[count] = center;
        scratch[count + 1] = center;
        const double m2 = medianNear(scratch.data(), count + 2, center);

        const int noteOfCenter = notes.NoteIndex(center);
        const int d1 = std::abs(notes.NoteIndex(m1) - noteOfCenter);
        const int d2 = std::abs(notes.NoteIndex(m2) - noteOfCenter);
        // Even weighted towards the center the median lies two notes away: the center is an
        // outlier and takes the plain median. One note away: a slip, corrected gently.
        if (d2 >= 2)
            samples[c].setFrequency(m1, notes);
        else if (d1 == 1)
            samples[c].setFrequency(m2, notes);
    }
}

namespace {
    bool closeVoicedNeighbor(const CSample &sample, const CSample *neighbor) noexcept
    {
        return neighbor && neighbor->voiced()
                && std::abs(CPitch::Cents(sample.frequency(), neighbor->frequency())) <= 50.0;
    }
} // namespace

void markStability(SampleList &samples) noexcept
{
    for (CSample &sample : samples) {
        sample.setStable(false);
        sample.setIsolated(false);
        if (!sample.voiced())
            continue;
        const bool stable = closeVoicedNeighbor(sample, sample.previous())
                || closeVoicedNeighbor(sample, sample.next());
        sample.setStable(stable);
        sample.setIsolated(!stable);
    }
}

} // namespace corvane
