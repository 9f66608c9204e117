#include "NoteRun.h"

namespace corvane {

namespace {

    NoteRun openRun(const CSample &sample, std::size_t index) noexcept
    {
        NoteRun run;
        run.firstSample = index;
        if (sample.voiced()) {
            run.rest = false;
            run.unstable = sample.isolated();
            run.noteIndex = sample.note();
        }
        return run;
    }

    bool joins(const CSample &sample, const CSample &previous) noexcept
    {
        if (sample.voiced() != previous.voiced())
            return false;
        if (!sample.voiced())
            return true;
        return sample.note() == previous.note() && sample.level() - previous.level() <= 0.15;
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
