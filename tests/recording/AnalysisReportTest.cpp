#include "AnalysisReport.h"

#include "PostProcessing.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using namespace corvane;

namespace {

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// Silence, two blocks a little sharp of A4, one flat B-flat 3, silence.
AnalysisReport smallReport()
{
    SampleList samples;
    for (double hz : { 0.0, 445.0, 445.0, 231.0, 0.0 }) {
        CSample &sample = samples.append();
        sample.setFrequency(hz);
        sample.setLevel(hz > 0.0 ? 0.5 : 0.01);
    }
    postProcess(samples, 0.2);
    AnalysisReport report;
    report.latencySeconds = 0.2;
    report.settings = { { "filter_length", "3" }, { "reference_hz", "440" } };
    report.fill(samples, buildNoteRuns(samples), 0.1);
    return report;
}

} // namespace

TEST(AnalysisReport, SampleRowsNameTheNoteAndCountSharpAsPositive)
{
    std::ostringstream out;
    smallReport().writeCsv(out, false);
    const std::vector<std::string> rows = lines(out.str());
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0], "# latency_s=0.200000");
    EXPECT_EQ(rows[1], "# settings: filter_length=3 reference_hz=440");
    EXPECT_EQ(rows[2], "time_s,pitch_hz,level,voiced,stable,note,cents");
    EXPECT_EQ(rows[3], "0.0000,0.00,0.01000,0,0,,");
    // 445 Hz lies 19.6 cents above A4; 231 Hz lies 15.5 cents below B-flat 3 (233.08 Hz).
    EXPECT_EQ(rows[4], "0.1000,445.00,0.50000,1,1,A4,19.6");
    EXPECT_EQ(rows[5], "0.2000,445.00,0.50000,1,1,A4,19.6");
    EXPECT_EQ(rows[6], "0.3000,231.00,0.50000,1,0,Bb3,-15.5");
    EXPECT_EQ(rows[7], "0.4000,0.00,0.01000,0,0,,");
}

TEST(AnalysisReport, NoteRowsGiveStartDurationAndMeanCents)
{
    std::ostringstream out;
    smallReport().writeCsv(out, true);
    const std::vector<std::string> rows = lines(out.str());
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[2], "start_s,duration_s,note,mean_cents,rest");
    EXPECT_EQ(rows[3], "0.0000,0.1000,,,1");
    EXPECT_EQ(rows[4], "0.1000,0.2000,A4,19.6,0");
    EXPECT_EQ(rows[5], "0.3000,0.1000,Bb3,-15.5,0");
    EXPECT_EQ(rows[6], "0.4000,0.1000,,,1");
}

TEST(AnalysisReport, JsonCarriesTheSameContent)
{
    const AnalysisReport report = smallReport();
    std::ostringstream samples;
    report.writeJson(samples, false);
    const std::string json = samples.str();
    EXPECT_NE(json.find("\"latency_s\": 0.200000"), std::string::npos);
    EXPECT_NE(json.find("\"settings\": {\"filter_length\": 3, \"reference_hz\": 440}"),
              std::string::npos);
    EXPECT_NE(json.find("{\"time_s\": 0.1000, \"pitch_hz\": 445.00, \"level\": 0.50000, "
                        "\"voiced\": true, \"stable\": true, \"note\": \"A4\", \"cents\": 19.6}"),
              std::string::npos);
    EXPECT_NE(json.find("\"note\": null, \"cents\": null}"), std::string::npos);
    EXPECT_EQ(json.back(), '\n');

    std::ostringstream notes;
    report.writeJson(notes, true);
    EXPECT_NE(notes.str().find("{\"start_s\": 0.1000, \"duration_s\": 0.2000, \"note\": \"A4\", "
                               "\"mean_cents\": 19.6, \"rest\": false}"),
              std::string::npos);

    AnalysisReport empty;
    std::ostringstream none;
    empty.writeJson(none, false);
    EXPECT_EQ(none.str(),
              "{\n  \"latency_s\": 0.000000,\n  \"settings\": {},\n  \"samples\": []\n}\n");
}
