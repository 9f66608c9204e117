#include "NoteRun.h"

namespace corvane {

namespace {

    // Sound without a pitch (the first hops of a note, noise above the threshold, the ring of a
    // note just ended) is no note: it belongs to the rest around it.
    bool sounding(const CSample &sample) noexcept
    {
        return sample.voiced() && sample.frequency() > 0.0;
    }

    NoteRun openRun(const CSample &sample, std::size_t index) noexcept
    {
        NoteRun run;
        run.firstSample = index;
        if (sounding(sample)) {
            run.rest = false;
            run.unstable = sample.isolated();
            run.noteIndex = sample.note();
        }
        return run;
    }

    bool joins(const CSample &sample, const CSample &previous) noexcept
    {
        if (sounding(sample) != sounding(previous))
            return false;
        if (!sounding(sample))
            return true;
        return sample.note() == previous.note() && !sample.beginsNote()
                && sample.level() - previous.level() <= 0.15;
    }

} // namespace

std::vector<NoteRun> buildNoteRuns(const SampleList &samples)
{
    std::vector<NoteRun> runs;
    const std::size_t n = samples.size();
    if (n == 0)
        return runs;
    NoteRun current = openRun(samples[0], 0);
    for (std::size_t i = 1; i < n; ++i) {
        if (joins(samples[i], samples[i - 1]))
            continue;
        current.sampleCount = i - current.firstSample;
        runs.push_back(current);
        current = openRun(samples[i], i);
    }
    current.sampleCount = n - current.firstSample;
    runs.push_back(current);
    return runs;
}

} // namespace corvane
