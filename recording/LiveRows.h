#pragma once

#include "AnalysisReport.h"
#include "CPitch.h"
#include "TemperedCents.h"

#include <cstdint>
#include <optional>

namespace corvane {

// What the analyzer found in one captured block, as the capture worker hands it on.
struct BlockReading
{
    double pitchHz = 0.0;    // 0 = no pitch
    double level = 0.0;      // the analyzer's total band energy
    std::uint64_t frame = 0; // the block's first frame in the capture run
};

// Turns the readings of a live capture into the rows `--analyze` prints, one block late: a row
// is stable when a neighbouring voiced block, before or after it, lies within 50 cents of it,
// which needs the block after it. Voicing and naming are those of the analysis of a file; the
// median smoothing is not applied, since it would hold every row back by several blocks.
//
// Plain value; one thread. Allocates nothing after construction.
class LiveRows
{
public:
    // `noiseThreshold` 0..1 (a block is voiced above half of it); `referenceHz` the frequency of
    // A4 the notes are named on; `delaySeconds` the analyzer's latency, taken off each row's time.
    LiveRows(int sampleRate, double noiseThreshold, double referenceHz, double delaySeconds);

    // Counts each row's cents from its note in this temperament (TemperedCents.h) instead of
    // the equal-tempered note.
    void setTemperament(const PitchClassCents &offsets) noexcept { m_temperament = offsets; }

    // The row of the block before `reading`, now that its stability is known; nothing for the
    // first reading.
    std::optional<AnalysisReport::SampleRow> add(const BlockReading &reading) noexcept;
    // The last row, its stability judged by the block before it alone; nothing when it has
    // been given already or there was none.
    std::optional<AnalysisReport::SampleRow> finish() noexcept;

private:
    AnalysisReport::SampleRow rowOf(const BlockReading &reading) const noexcept;

    CPitch m_notes;
    double m_rate;
    double m_voicedAbove;
    double m_delaySeconds;
    std::optional<PitchClassCents> m_temperament;
    std::optional<AnalysisReport::SampleRow> m_previous; // given out already
    std::optional<AnalysisReport::SampleRow> m_pending;  // waiting for its successor
};

} // namespace corvane
