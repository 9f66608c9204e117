#pragma once

#include "SampleList.h"

#include <cstddef>

namespace corvane {

class CPitch;

// The steps that turn the analyzer's raw per-block results into the samples the notes and panes
// use. They run once, after the whole recording has been analyzed, on the thread that analyzed
// it; each allocates at most one copy of the frequencies.

// Voicing, median smoothing over 3 and then 5 blocks, and stability, in that order.
// `noiseThreshold` is the settings' noise threshold 0..1; a block is voiced when its level is
// strictly above half of it.
void postProcess(SampleList &samples, double noiseThreshold, const CPitch &notes);

// Sets each sample's voiced flag: level strictly greater than `threshold`.
void markVoicing(SampleList &samples, double threshold) noexcept;

// A median filter of width `window` (made odd, at most 9) over the voiced frequencies. Each
// center looks at the unsmoothed values of its voiced neighbors on either side, up to the first
// unvoiced one; a center's frequency changes only when the median lies on another note. Samples
// closer than half a window to either end, and lists shorter than the window, are left alone.
void smoothFrequencies(SampleList &samples, int window, const CPitch &notes);

// Clears stable and isolated, then marks a voiced sample stable when a voiced neighbor lies
// within 50 cents of it (either side), otherwise isolated.
void markStability(SampleList &samples) noexcept;

// The median of values[0..count), sorted in place. For an even count, the one of the two middle
// values nearer to `center`, the lower one on a tie.
double medianNear(double *values, std::size_t count, double center) noexcept;

} // namespace corvane
