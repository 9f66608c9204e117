#include "AnalysisReport.h"

#include "BlockLength.h"

#include "CPitch.h"
#include "NoteLookup.h"
#include "RecordingAnalysis.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace corvane {

std::string reportNumber(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    if (text[0] == '-' && std::strtod(text, nullptr) == 0.0)
        return text + 1;
    return text;
}

namespace {

    std::string jsonString(const std::string &text)
    {
        std::string quoted = "\"";
        for (char c : text) {
            if (c == '"' || c == '\\')
                quoted += '\\';
            quoted += c;
        }
        return quoted + '"';
    }

    // Values that look like numbers go into JSON bare, the rest quoted.
    std::string jsonValue(const std::string &text)
    {
        char *end = nullptr;
        std::strtod(text.c_str(), &end);
        return !text.empty() && end && *end == '\0' ? text : jsonString(text);
    }

} // namespace

void AnalysisReport::fill(const SampleList &list, const std::vector<NoteRun> &runs,
                          double blockSeconds, const CPitch &noteTable, double delaySeconds)
{
    // A block or run ending before the recording began describes only the delay lines' silence.
    const auto beforeStart = [](double start, double duration) { return start + duration <= 1e-9; };
    samples.clear();
    samples.reserve(list.size());
    std::size_t index = 0;
    for (const CSample &sample : list) {
        SampleRow row;
        row.timeSeconds = static_cast<double>(index++) * blockSeconds - delaySeconds;
        if (beforeStart(row.timeSeconds, blockSeconds))
            continue;
        row.level = sample.level();
        row.voiced = sample.voiced();
        row.stable = sample.stable();
        if (sample.outOfRange() == CSample::OutOfRange::Below)
            row.reason = "below range";
        else if (sample.outOfRange() == CSample::OutOfRange::Above)
            row.reason = "above range";
        if (sample.voiced() && sample.frequency() > 0.0) {
            // Beyond A0 and A8 the table's own index would name the nearest end of it.
            row.pitchHz = sample.frequency();
            row.named = true;
            row.note = noteTable.NearestNote(sample.frequency());
            row.cents = CPitch::Cents(sample.frequency(), noteTable.NearestNoteFreq(row.note));
        }
        samples.push_back(row);
    }

    notes.clear();
    notes.reserve(runs.size());
    for (const NoteRun &run : runs) {
        NoteRow row;
        row.startSeconds = static_cast<double>(run.firstSample) * blockSeconds - delaySeconds;
        row.durationSeconds = static_cast<double>(run.sampleCount) * blockSeconds;
        if (beforeStart(row.startSeconds, row.durationSeconds))
            continue;
        if (row.startSeconds < 0.0) {
            row.durationSeconds += row.startSeconds;
            row.startSeconds = 0.0;
        }
        row.rest = run.rest;
        row.unstable = run.unstable;
        if (!run.rest) {
            row.note = run.noteIndex;
            double sum = 0.0, sumLogHz = 0.0;
            std::size_t counted = 0;
            // From the analysis's own samples: the rows above leave out the blocks before the
            // recording began, so their indices are not the runs' indices.
            for (std::size_t i = run.firstSample; i < run.firstSample + run.sampleCount; ++i) {
                const CSample &sample = list[i];
                if (!sample.voiced() || !(sample.frequency() > 0.0))
                    continue;
                const double hz = sample.frequency();
                sum += CPitch::Cents(hz, noteTable.NearestNoteFreq(noteTable.NearestNote(hz)));
                sumLogHz += std::log(hz);
                ++counted;
            }
            row.meanCents = counted ? sum / static_cast<double>(counted) : 0.0;
            // A run on an end note of the table may hold any pitch beyond it; name it by its
            // mean pitch instead.
            if (counted && (run.noteIndex == 0 || run.noteIndex == CPitch::kNoteCount - 1)) {
                const double meanHz = std::exp(sumLogHz / static_cast<double>(counted));
                row.note = noteTable.NearestNote(meanHz);
                row.meanCents = CPitch::Cents(meanHz, noteTable.NearestNoteFreq(row.note));
            }
        }
        notes.push_back(row);
    }
}

void AnalysisReport::writeComments(std::ostream &out) const
{
    out << "# latency_s=" << reportNumber(latencySeconds, 6) << '\n';
    out << "# settings:";
    for (const auto &[key, value] : settings)
        out << ' ' << key << '=' << value;
    out << '\n';
}

void AnalysisReport::writeCsv(std::ostream &out, bool notesOnly, bool comments) const
{
    if (comments)
        writeComments(out);
    if (notesOnly) {
        out << "start_s,duration_s,note,mean_cents,rest,unstable\n";
        for (const NoteRow &row : notes) {
            out << reportNumber(row.startSeconds, 4) << ',' << reportNumber(row.durationSeconds, 4)
                << ',' << (row.rest ? "" : noteNameInCMajor(row.note)) << ','
                << (row.rest ? "" : reportNumber(row.meanCents, 1)) << ',' << (row.rest ? 1 : 0)
                << ',' << (row.unstable ? 1 : 0) << '\n';
        }
        return;
    }
    writeCsvHeader(out);
    for (const SampleRow &row : samples)
        writeCsvRow(out, row);
}

void AnalysisReport::writeCsvHeader(std::ostream &out)
{
    out << "time_s,pitch_hz,level,voiced,stable,note,cents\n";
}

void AnalysisReport::writeCsvRow(std::ostream &out, const SampleRow &row)
{
    out << reportNumber(row.timeSeconds, 4) << ',' << reportNumber(row.pitchHz, 2) << ','
        << reportNumber(row.level, 5) << ',' << (row.voiced ? 1 : 0) << ',' << (row.stable ? 1 : 0)
        << ',' << (row.named ? noteNameInCMajor(row.note) : "") << ','
        << (row.named ? reportNumber(row.cents, 1) : "") << '\n';
}

void AnalysisReport::writeJsonRow(std::ostream &out, const SampleRow &row)
{
    const bool named = row.named;
    out << "{\"time_s\": " << reportNumber(row.timeSeconds, 4)
        << ", \"pitch_hz\": " << reportNumber(row.pitchHz, 2)
        << ", \"level\": " << reportNumber(row.level, 5)
        << ", \"voiced\": " << (row.voiced ? "true" : "false")
        << ", \"stable\": " << (row.stable ? "true" : "false")
        << ", \"note\": " << (named ? jsonString(noteNameInCMajor(row.note)) : "null")
        << ", \"cents\": " << (named ? reportNumber(row.cents, 1) : "null");
    if (!row.reason.empty())
        out << ", \"reason\": " << jsonString(row.reason);
    out << '}';
}

void AnalysisReport::writeJson(std::ostream &out, bool notesOnly) const
{
    out << "{\n  \"latency_s\": " << reportNumber(latencySeconds, 6) << ",\n  \"settings\": {";
    const char *separator = "";
    for (const auto &[key, value] : settings) {
        out << separator << jsonString(key) << ": " << jsonValue(value);
        separator = ", ";
    }
    out << "},\n";
    if (notesOnly) {
        out << "  \"notes\": [";
        separator = "\n";
        for (const NoteRow &row : notes) {
            out << separator << "    {\"start_s\": " << reportNumber(row.startSeconds, 4)
                << ", \"duration_s\": " << reportNumber(row.durationSeconds, 4)
                << ", \"note\": " << (row.rest ? "null" : jsonString(noteNameInCMajor(row.note)))
                << ", \"mean_cents\": " << (row.rest ? "null" : reportNumber(row.meanCents, 1))
                << ", \"rest\": " << (row.rest ? "true" : "false")
                << ", \"unstable\": " << (row.unstable ? "true" : "false") << '}';
            separator = ",\n";
        }
    } else {
        out << "  \"samples\": [";
        separator = "\n";
        for (const SampleRow &row : samples) {
            out << separator << "    ";
            writeJsonRow(out, row);
            separator = ",\n";
        }
    }
    out << (std::string(separator) == "\n" ? "]\n}\n" : "\n  ]\n}\n");
}

void AnalysisReport::describe(const RecordingAnalysis &analysis)
{
    *this = AnalysisReport {};
    if (!analysis.settings())
        return;
    latencySeconds = analysis.maxDelay();
    const PcmFormat &format = analysis.blockFormat();
    settings = settingsList(*analysis.settings(), analysis.noteTable().Reference(), format);
    fill(analysis.samples(), analysis.noteRuns(),
         static_cast<double>(format.blockLength) / static_cast<double>(format.sampleRate),
         analysis.noteTable(), analysis.maxDelay());
}

std::vector<std::pair<std::string, std::string>> AnalysisReport::settingsList(
        const AnalysisSettings &used, double referenceHz, const PcmFormat &format)
{
    auto number = [](double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value);
        return std::string(text);
    };
    return {
        { "filter_length", std::to_string(used.filterLength) },
        { "sensitivity", std::to_string(used.sensitivity) },
        { "lowest_hz", number(used.lowestHz) },
        { "highest_hz", number(used.highestHz) },
        { "reference_hz", number(referenceHz) },
        { "noise_threshold", number(used.noiseThreshold) },
        { "pitch_mode", used.classic ? "classic" : "refined" },
        { "sample_rate", std::to_string(format.sampleRate) },
        { "channels", std::to_string(format.channels) },
        { "bits", std::to_string(format.bitsPerSample) },
        // The window each row describes, and how far it moves between rows.
        { "block_frames", std::to_string(blockLengthForRate(format.sampleRate)) },
        { "hop_frames", std::to_string(format.blockLength) },
    };
}

} // namespace corvane
