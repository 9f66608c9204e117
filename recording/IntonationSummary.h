#pragma once

#include "IntonationStatistics.h"

#include <iosfwd>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace corvane {

struct AnalysisReport;

// How in tune a recording was played, per degree of the scale and per note with its octave:
// the figures of the deviations of the held part of each note. A note is a run of stable,
// named blocks of one note (the ones the intonation pane draws); its first and last
// kSettleSeconds are left out, because there the analyzer's window still holds part of the
// sound before or after it and its reading lies between the two (and a player's attack scoops).
// Degrees and notes are spelled in C major, as the rows of the report are.
struct IntonationSummary
{
    static constexpr double kSettleSeconds = 0.2;

    IntonationStatistics degrees;
    std::map<int, IntonationFigures> notes; // by note index (0 = A0)

    // `inTuneCents`: the in-tune zone's half-width (the pinwheels' middle zone).
    static IntonationSummary of(const AnalysisReport &report, double inTuneCents);
    // Only the readings played from `fromSeconds` up to (not including) `toSeconds`, as a
    // selection of the recording holds them; a note cut by an edge keeps its held part inside.
    static IntonationSummary of(const AnalysisReport &report, double inTuneCents,
                                double fromSeconds, double toSeconds);

    // The rows writeCsv writes, in its order: scope ("degree" or "note"), name and figures.
    struct Row
    {
        std::string scope;
        std::string name;
        IntonationFigures figures;
    };
    std::vector<Row> rows() const;

    // CSV: "scope,name,count,mean_cents,spread_cents,in_tune_share", the twelve degrees from C
    // (those heard) then each note heard from low to high.
    void writeCsv(std::ostream &out) const;
    // The same as one JSON object: {"in_tune_cents": x, "degrees": [...], "notes": [...]}.
    void writeJson(std::ostream &out) const;
};

} // namespace corvane
