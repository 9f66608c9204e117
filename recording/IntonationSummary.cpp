#include "IntonationSummary.h"

#include "AnalysisReport.h"
#include "NoteLookup.h"

#include <ostream>
#include <string>

namespace corvane {

namespace {

    struct RowView
    {
        const char *scope;
        std::string name;
        const IntonationFigures &figures;
    };

    template<typename Each>
    void forEachRow(const IntonationSummary &summary, Each each)
    {
        for (int d = 0; d < IntonationStatistics::kDegrees; ++d) {
            if (summary.degrees.degree(d).count > 0)
                each(RowView { "degree", degreeNameInCMajor(d), summary.degrees.degree(d) });
        }
        for (const auto &[note, figures] : summary.notes)
            each(RowView { "note", noteNameInCMajor(note), figures });
    }

} // namespace

IntonationSummary IntonationSummary::of(const AnalysisReport &report, double inTuneCents)
{
    return of(report, inTuneCents, -std::numeric_limits<double>::infinity(),
              std::numeric_limits<double>::infinity());
}

std::vector<IntonationSummary::Row> IntonationSummary::rows() const
{
    std::vector<Row> all;
    forEachRow(*this, [&all](const auto &row) {
        all.push_back({ row.scope, row.name, row.figures });
    });
    return all;
}

IntonationSummary IntonationSummary::of(const AnalysisReport &report, double inTuneCents,
                                        double fromSeconds, double toSeconds)
{
    IntonationSummary summary { IntonationStatistics(inTuneCents), {} };
    const auto &rows = report.samples;
    auto held = [&](std::size_t i) { return rows[i].stable && rows[i].named; };
    for (std::size_t start = 0; start < rows.size();) {
        if (!held(start)) {
            ++start;
            continue;
        }
        std::size_t end = start + 1;
        while (end < rows.size() && held(end) && rows[end].note == rows[start].note)
            ++end;
        const double first = rows[start].timeSeconds + kSettleSeconds;
        const double last = rows[end - 1].timeSeconds - kSettleSeconds;
        for (std::size_t i = start; i < end; ++i) {
            if (rows[i].timeSeconds < first || rows[i].timeSeconds > last
                || rows[i].timeSeconds < fromSeconds || rows[i].timeSeconds >= toSeconds)
                continue;
            summary.degrees.add(degreeFromC(rows[i].note), rows[i].cents);
            summary.notes[rows[i].note].add(rows[i].cents, inTuneCents);
        }
        start = end;
    }
    return summary;
}

void IntonationSummary::writeCsv(std::ostream &out) const
{
    out << "scope,name,count,mean_cents,spread_cents,in_tune_share\n";
    forEachRow(*this, [&](const RowView &row) {
        out << row.scope << ',' << row.name << ',' << row.figures.count << ','
            << reportNumber(row.figures.meanCents, 1) << ','
            << reportNumber(row.figures.spreadCents(), 1) << ','
            << reportNumber(row.figures.inTuneShare(), 3) << '\n';
    });
}

void IntonationSummary::writeJson(std::ostream &out) const
{
    out << "{\n  \"in_tune_cents\": " << reportNumber(degrees.inTuneCents(), 1);
    std::string scope;
    forEachRow(*this, [&](const RowView &row) {
        const bool first = scope != row.scope;
        if (first)
            out << (scope.empty() ? "" : "\n  ]") << ",\n  \"" << row.scope << "s\": [";
        scope = row.scope;
        out << (first ? "" : ",") << "\n    {\"name\": \"" << row.name
            << "\", \"count\": " << row.figures.count
            << ", \"mean_cents\": " << reportNumber(row.figures.meanCents, 1)
            << ", \"spread_cents\": " << reportNumber(row.figures.spreadCents(), 1)
            << ", \"in_tune_share\": " << reportNumber(row.figures.inTuneShare(), 3) << '}';
    });
    // Nothing stable was heard: both lists are there, empty.
    out << (scope.empty() ? ",\n  \"degrees\": [],\n  \"notes\": []" : "\n  ]") << "\n}\n";
}

} // namespace corvane
