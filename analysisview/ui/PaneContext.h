#pragma once

#include "BlockSelection.h"
#include "NoteRun.h"
#include "RecordingAnalysis.h"
#include "TimeAxis.h"

#include <algorithm>
#include <cstddef>

namespace corvane {

class KeyContext;
class CPitch;

// What every pane renderer draws from: the analysis (null while there is none, or while one is
// running), the shared time axis and selection, the key context and note table, and the right
// edge of the area being painted. User-interface thread; painting may load reader pages.
struct PaneContext
{
    RecordingAnalysis *analysis = nullptr;
    const TimeAxis &axis;
    const BlockSelection &selection;
    const KeyContext &keys;
    const CPitch &pitch;
    int right = 0; // last x painted

    bool loaded() const noexcept { return analysis && analysis->loaded(); }
    int32_t sampleCount() const noexcept { return loaded() ? analysis->sampleCount() : 0; }

    // The note run a sample belongs to; null without one.
    const NoteRun *runOf(std::size_t sample) const noexcept
    {
        if (!loaded())
            return nullptr;
        const std::vector<NoteRun> &runs = analysis->noteRuns();
        auto it =
                std::upper_bound(runs.begin(), runs.end(), sample,
                                 [](std::size_t s, const NoteRun &r) { return s < r.firstSample; });
        if (it == runs.begin())
            return nullptr;
        --it;
        return sample < it->firstSample + it->sampleCount ? &*it : nullptr;
    }

    // Calls f(sampleIndex, x) for every sample from the first visible one while x stays at or
    // left of the right edge.
    template<class F>
    void forEachVisibleSample(F &&f) const
    {
        const int zoom = axis.pixelsPerBlock();
        int x = TimeAxis::kDataLeft;
        for (int32_t i = axis.firstVisibleBlock(); i < sampleCount() && x <= right; ++i, x += zoom)
            f(static_cast<std::size_t>(i), x);
    }
};

} // namespace corvane
