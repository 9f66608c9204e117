#pragma once

#include "BlockSelection.h"
#include "ColumnEnvelope.h"
#include "EnvelopeCache.h"
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
    // Envelopes kept between paints, one per temporary file (bands 0..7, then the signal); null:
    // computed afresh.
    EnvelopeCache *envelopes = nullptr;

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

    // The min/max columns of temporary file `file` from the data area's left edge: `visible`
    // columns, column k of the recording covering values from base + k * perColumn.
    std::vector<ColumnRange> envelope(int file, double base, double perColumn, int visible) const
    {
        PagedFloatReader &reader = analysis->reader(file);
        auto at = [&reader](int64_t i) { return reader.at(i); };
        const int64_t first = axis.firstColumn();
        if (envelopes)
            return envelopes[file].columns(at, reader.floatCount(), base, perColumn, first,
                                           visible);
        return columnEnvelope(at, reader.floatCount(),
                              base + static_cast<double>(first) * perColumn, perColumn, visible);
    }

    // Columns of the data area that show the recording.
    int visibleColumns() const noexcept
    {
        const int64_t recording =
                axis.columnsOf(int64_t { sampleCount() } - axis.firstVisibleBlock());
        return static_cast<int>(std::clamp<int64_t>(
                std::min<int64_t>(right - TimeAxis::kDataLeft + 1, recording), 0, 1 << 30));
    }

    // Calls f(sampleIndex, x) for every sample from the first visible one while x stays at or
    // left of the right edge; zoomed out, several samples share one x.
    template<class F>
    void forEachVisibleSample(F &&f) const
    {
        const int first = axis.firstVisibleBlock();
        const int count = sampleCount();
        for (int32_t i = first; i < count; ++i) {
            const int x = axis.xOfBlock(i);
            if (x > right)
                break;
            f(static_cast<std::size_t>(i), x);
        }
    }
};

} // namespace corvane
