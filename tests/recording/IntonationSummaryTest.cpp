// How in tune a recording was: the figures per degree and per note, from the held part of each
// note only.

#include "AnalysisReport.h"
#include "IntonationSummary.h"

#include "CsvText.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

using namespace corvane;

namespace {

constexpr int kA3 = 36, kBb3 = 37, kA4 = 48;

// Report rows an eighth of a second apart.
struct Readings
{
    void add(int note, double cents, bool stable = true, bool named = true)
    {
        AnalysisReport::SampleRow row;
        row.timeSeconds = time += 0.125;
        row.voiced = true;
        row.stable = stable;
        row.named = named;
        row.note = note;
        row.cents = cents;
        report.samples.push_back(row);
    }
    // A held note: two readings settling towards it, `cents`, then two leaving it.
    void hold(int note, const std::vector<double> &cents)
    {
        for (double c : { -45.0, 20.0 })
            add(note, c);
        for (double c : cents)
            add(note, c);
        for (double c : { 30.0, -30.0 })
            add(note, c);
    }

    AnalysisReport report;
    double time = 0.0;
};

} // namespace

TEST(IntonationSummary, TheHeldPartOfEachNoteCountsPerDegreeAndPerNoteWithItsOctave)
{
    Readings r;
    r.hold(kA4, { 6.0, 2.0 });
    r.hold(kA3, { -4.0 });
    // An unstable reading ends a note, and one without a name too.
    r.hold(kBb3, { -9.0 });
    r.add(kA4, 40.0, false);
    r.add(-1, 0.0, true, false);
    // Too short to have a held part.
    for (int i = 0; i < 3; ++i)
        r.add(kA4, 50.0);
    const IntonationSummary summary = IntonationSummary::of(r.report, 4.0);

    std::ostringstream csv;
    summary.writeCsv(csv);
    EXPECT_EQ(test::lines(csv.str()),
              (std::vector<std::string> { "scope,name,count,mean_cents,spread_cents,in_tune_share",
                                          "degree,A,3,1.3,4.1,0.667", "degree,Bb,1,-9.0,0.0,0.000",
                                          "note,A3,1,-4.0,0.0,1.000", "note,Bb3,1,-9.0,0.0,0.000",
                                          "note,A4,2,4.0,2.0,0.500" }));

    std::ostringstream json;
    summary.writeJson(json);
    EXPECT_NE(json.str().find("\"degrees\": [\n    {\"name\": \"A\", \"count\": 3, \"mean_cents\": "
                              "1.3, \"spread_cents\": 4.1, \"in_tune_share\": 0.667},"),
              std::string::npos)
            << json.str();
    EXPECT_NE(json.str().find("\"notes\": ["), std::string::npos);
}

TEST(IntonationSummary, ARecordingWithNothingHeldGivesEmptyLists)
{
    Readings r;
    r.add(kA4, 3.0, false);
    std::ostringstream json, csv;
    IntonationSummary::of(r.report, 4.0).writeJson(json);
    IntonationSummary::of(r.report, 4.0).writeCsv(csv);
    EXPECT_EQ(json.str(), "{\n  \"in_tune_cents\": 4.0,\n  \"degrees\": [],\n  \"notes\": []\n}\n");
    EXPECT_EQ(csv.str(), "scope,name,count,mean_cents,spread_cents,in_tune_share\n");
}

TEST(IntonationSummary, ASpanCountsOnlyTheHeldReadingsPlayedWithinIt)
{
    Readings r;
    r.hold(kA4, { 6.0, 2.0 }); // held readings at 0.375 and 0.5 s
    r.hold(kA3, { -4.0 });     // at 1.125 s
    const IntonationSummary first = IntonationSummary::of(r.report, 4.0, 0.0, 0.45);
    EXPECT_EQ(first.degrees.degree(9).count, 1);
    EXPECT_DOUBLE_EQ(first.degrees.degree(9).meanCents, 6.0);
    EXPECT_TRUE(first.notes.count(kA4) && !first.notes.count(kA3));
    const IntonationSummary later = IntonationSummary::of(r.report, 4.0, 0.5, 10.0);
    EXPECT_EQ(later.degrees.degree(9).count, 2) << "from its start, up to its end";
    const auto rows = later.rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].scope, "degree");
    EXPECT_EQ(rows[0].name, "A");
    EXPECT_EQ(rows[2].name, "A4");
}
