#pragma once

#include "SampleList.h"

#include <cstddef>
#include <cstdint>

namespace corvane {

class CPitch;

// The steps that turn the analyzer's raw per-block results into the samples the notes and panes
// use. They run once, after the whole recording has been analyzed, on the thread that analyzed
// it; each allocates at most one copy of the frequencies.

// Voicing, the placing of onsets, median smoothing over 3 and then 5 samples, and stability, in
// that order. `noiseThreshold` is the settings' noise threshold 0..1; a sample is voiced when its
// level is strictly above half of it. `hopFrames`: frames per sample.
void postProcess(SampleList &samples, double noiseThreshold, const CPitch &notes,
                 int32_t hopFrames);

// Sets each sample's voiced flag: level strictly greater than `threshold`, and no note outside
// the limits.
void markVoicing(SampleList &samples, double threshold) noexcept;

// Moves each note change to the sample its onset lies in. The analyzer names a new note a few
// samples after its onset (it waits until it has heard enough of it), and has no pitch, or still
// the old one, in between: those samples take the new note's first frequency. The sample the
// onset lies in takes it when the onset lies in its first half (more than hopFrames / 2 before
// its end); otherwise it keeps the note before. Looks at most eight samples past an onset, and
// stops at the next onset or an unvoiced sample. The sample the new note begins with is marked
// (CSample::beginsNote), so that a repeated note makes a note of its own.
void placeOnsets(SampleList &samples, int32_t hopFrames, const CPitch &notes) noexcept;

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
