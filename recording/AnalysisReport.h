#pragma once

#include "NoteRun.h"
#include "SampleList.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace corvane {

class RecordingAnalysis;
struct AnalysisSettings;
struct PcmFormat;

class CPitch;

// What the command-line analysis prints and what Export and Copy write: the samples or the notes
// of one analyzed recording in plain numbers and names, with the analyzer's latency and the
// settings the analysis ran with. Built once after the analysis; formatting allocates freely.
// A number as the report writes it: `decimals` places, and never "-0.0" for a value that rounds
// to zero (it reads as a sign where there is none). Allocates.
std::string reportNumber(double value, int decimals);

struct AnalysisReport
{
    struct SampleRow
    {
        double timeSeconds = 0.0; // when the sound of the block was played in the recording
        double pitchHz = 0.0;     // after post-processing; 0 when unvoiced
        double level = 0.0;
        bool voiced = false;
        bool stable = false;
        bool named = false; // voiced with a pitch: `note` and `cents` hold
        int32_t note = -1;  // CPitch::NearestNote index, beyond the table too; -1 when unnamed
        double cents = 0.0; // from the note's tempered pitch, positive = sharp
        // Why a row with sound is unvoiced: "below range" / "above range" for a clear note
        // outside the analysis limits; empty otherwise.
        std::string reason;
    };

    struct NoteRow
    {
        double startSeconds = 0.0;
        double durationSeconds = 0.0;
        int32_t note = -1;      // CPitch::NearestNote index; -1 for a rest
        double meanCents = 0.0; // mean deviation of its samples, positive = sharp
        bool rest = true;
        // Its first block had no voiced neighbor within 50 cents: most often the block that
        // straddles a note's onset, which a reader may want to pass over.
        bool unstable = false;
    };

    double latencySeconds = 0.0; // the analyzer's maxDelay
    // Printed in this order as key=value; values are already formatted.
    std::vector<std::pair<std::string, std::string>> settings;
    std::vector<SampleRow> samples;
    std::vector<NoteRow> notes;

    // Rows for `samples` and `runs`; `blockSeconds` = block length / sample rate.
    // `noteTable` is the note table the samples were named by. The analyzer describes each
    // block's sound `delaySeconds` late (its maxDelay): the rows are moved back by that much, so
    // that each says when its sound was played. Blocks that ended before the recording began (while
    // the analyzer's delay lines filled) give no row, so the first row may start a little before
    // 0; a note run that starts before 0 is cut to the recording's start.
    void fill(const SampleList &samples, const std::vector<NoteRun> &runs, double blockSeconds,
              const CPitch &noteTable, double delaySeconds = 0.0);
    // Everything from a loaded analysis: latency, the settings it ran with (its own, not the
    // program's of now) and rows, the rows moved back by the latency. The reference is the one
    // its note table was built on. An empty analysis gives an empty report.
    void describe(const RecordingAnalysis &analysis);

    // CSV: a header, then one row per sample (time_s,pitch_hz,level,voiced,stable,note,cents)
    // or with `notes` one per note (start_s,duration_s,note,mean_cents,rest,unstable). Plain, so
    // that any CSV reader takes it; with `comments` the two lines of writeComments come first.
    void writeCsv(std::ostream &out, bool notes, bool comments = false) const;
    // "# latency_s=..." and "# settings: k=v ...", one line each.
    void writeComments(std::ostream &out) const;
    // The same content as one JSON object.
    void writeJson(std::ostream &out, bool notes) const;

    // One sample row at a time, for a stream that prints each as it comes: the CSV header, a
    // CSV row, and a row as the JSON object of one sample (no separator, no line end). Exactly
    // what writeCsv and writeJson print for it.
    static void writeCsvHeader(std::ostream &out);
    static void writeCsvRow(std::ostream &out, const SampleRow &row);
    static void writeJsonRow(std::ostream &out, const SampleRow &row);
    // The settings list describe() gives: the analysis settings, the reference of its note
    // table and the block format, as key=value pairs in their printed order.
    static std::vector<std::pair<std::string, std::string>> settingsList(
            const AnalysisSettings &used, double referenceHz, const PcmFormat &format);
};

} // namespace corvane
