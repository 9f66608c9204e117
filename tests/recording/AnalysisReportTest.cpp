// The report of an analysis in plain numbers and names: what the command line prints and Export
// and Copy write.

#include "AnalysisReport.h"
#include "CPitch.h"
#include "CsvText.h"
#include "PostProcessing.h"
#include "RecordingAnalysis.h"

#include "TempDir.h"
#include "WaveFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::test;

namespace {

// Silence, two blocks a little sharp of A4, one flat B-flat 3, silence.
AnalysisReport smallReport()
{
    SampleList samples;
    for (double hz : { 0.0, 445.0, 445.0, 231.0, 0.0 }) {
        CSample &sample = samples.append();
        sample.setFrequency(hz, CPitch());
        sample.setLevel(hz > 0.0 ? 0.5 : 0.01);
    }
    postProcess(samples, 0.2, CPitch(), 1024);
    AnalysisReport report;
    report.latencySeconds = 0.2;
    report.settings = { { "filter_length", "3" }, { "reference_hz", "440" } };
    report.fill(samples, buildNoteRuns(samples), 0.1, CPitch());
    return report;
}

} // namespace

// The analyzer describes each block's sound a latency late: rows move back by it, blocks that
// hold only the time before the recording go, and a note that starts there is cut at 0.
TEST(AnalysisReport, RowsSayWhenTheirSoundWasPlayed)
{
    SampleList samples;
    for (double hz : { 0.0, 0.0, 0.0, 445.0, 445.0, 0.0 }) {
        CSample &sample = samples.append();
        sample.setFrequency(hz, CPitch());
        sample.setLevel(hz > 0.0 ? 0.5 : 0.01);
    }
    postProcess(samples, 0.2, CPitch(), 1024);
    AnalysisReport report;
    report.fill(samples, buildNoteRuns(samples), 0.1, CPitch(), 0.25);
    ASSERT_EQ(report.samples.size(), 4u) << "the first two blocks end before the recording";
    EXPECT_NEAR(report.samples[0].timeSeconds, -0.05, 1e-12);
    EXPECT_NEAR(report.samples[1].timeSeconds, 0.05, 1e-12);
    EXPECT_EQ(report.samples[1].note, report.samples[2].note);
    EXPECT_GT(report.samples[1].pitchHz, 0.0);
    ASSERT_GE(report.notes.size(), 2u);
    EXPECT_TRUE(report.notes[0].rest);
    EXPECT_EQ(report.notes[0].startSeconds, 0.0);
    EXPECT_NEAR(report.notes[0].durationSeconds, 0.05, 1e-12);
    EXPECT_FALSE(report.notes[1].rest);
    EXPECT_NEAR(report.notes[1].startSeconds, 0.05, 1e-12);
}

TEST(AnalysisReport, CsvRowsNameTheNoteAndCountSharpAsPositive)
{
    const AnalysisReport report = smallReport();
    std::ostringstream samples, notes, plain;
    report.writeCsv(samples, false, true);
    report.writeCsv(notes, true, true);
    report.writeCsv(plain, true);
    // Plain CSV unless the comments are asked for: the header comes first.
    EXPECT_EQ(plain.str().rfind("start_s,duration_s,note,mean_cents,rest,unstable\n0.0000,", 0), 0u)
            << plain.str();
    // 445 Hz lies 19.6 cents above A4; 231 Hz lies 15.5 cents below B-flat 3 (233.08 Hz).
    EXPECT_EQ(lines(samples.str()),
              (std::vector<std::string> {
                      "# latency_s=0.200000", "# settings: filter_length=3 reference_hz=440",
                      "time_s,pitch_hz,level,voiced,stable,note,cents", "0.0000,0.00,0.01000,0,0,,",
                      "0.1000,445.00,0.50000,1,1,A4,19.6", "0.2000,445.00,0.50000,1,1,A4,19.6",
                      "0.3000,231.00,0.50000,1,0,Bb3,-15.5", "0.4000,0.00,0.01000,0,0,," }));
    const std::vector<std::string> noteRows = lines(notes.str());
    EXPECT_EQ(std::vector<std::string>(noteRows.begin() + 1, noteRows.end()),
              (std::vector<std::string> { "# settings: filter_length=3 reference_hz=440",
                                          "start_s,duration_s,note,mean_cents,rest,unstable",
                                          "0.0000,0.1000,,,1,0", "0.1000,0.2000,A4,19.6,0,0",
                                          "0.3000,0.1000,Bb3,-15.5,0,1", "0.4000,0.1000,,,1,0" }));
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
                               "\"mean_cents\": 19.6, \"rest\": false, \"unstable\": false}"),
              std::string::npos);

    std::ostringstream none;
    AnalysisReport().writeJson(none, false);
    EXPECT_EQ(none.str(),
              "{\n  \"latency_s\": 0.000000,\n  \"settings\": {},\n  \"samples\": []\n}\n");
}

// Pitches beyond A0 and A8 are named by the same rule carried on (octaves below 0 and above 8)
// with a sensible deviation, never as the nearest end of the table.
TEST(AnalysisReport, NotesBeyondTheTableKeepTheirOwnNames)
{
    SampleList samples;
    for (double hz : { 9000.0, 9000.0, 20.0, 20.0, 7040.0 }) {
        CSample &sample = samples.append();
        sample.setFrequency(hz, CPitch());
        sample.setLevel(0.5);
    }
    postProcess(samples, 0.2, CPitch(), 1024);
    AnalysisReport report;
    report.fill(samples, buildNoteRuns(samples), 0.1, CPitch());
    std::ostringstream rows, notes;
    report.writeCsv(rows, false);
    report.writeCsv(notes, true);
    const std::vector<std::string> sampleRows = lines(rows.str());
    std::vector<std::string> named;
    for (const std::string &row : sampleRows)
        if (row.find("time_s") == std::string::npos && row[0] != '#')
            named.push_back(cell(row, 5) + " " + cell(row, 6));
    // 9000 Hz lies 25.2 cents above D-flat 9 (8869.8 Hz); 20 Hz 48.7 cents above E-flat 0
    // (19.45 Hz); A8 itself is still the table's.
    EXPECT_EQ(named,
              (std::vector<std::string> { "Db9 25.2", "Db9 25.2", "Eb0 48.7", "Eb0 48.7",
                                          "A8 0.0" }));
    const std::string noteText = notes.str();
    EXPECT_NE(noteText.find(",Db9,25.2,0,"), std::string::npos) << noteText;
    EXPECT_NE(noteText.find(",Eb0,48.7,0,"), std::string::npos) << noteText;
}

// The report reads the settings from the analysis itself, so that what describes an analysis
// stays true after the program's settings change; an analysis that failed or was cleared
// describes nothing, not the one before it.
TEST(AnalysisReport, DescribesTheSettingsTheAnalysisRanWithAndNothingOnceItIsGone)
{
    TempDir dir;
    AnalysisObserver quiet;
    RecordingAnalysis analysis(dir.path(), quiet);
    analysis.setFileOptions({ StereoChannel::Left, false });
    writeWave(dir / "a4.wav", WaveHeader {}, pcmBytes(tone(440.0, 1.5, 11025), 1, 16));
    writeWave(dir / "adpcm.wav", adpcmHeader(), std::vector<uint8_t>(4096, 0x11));
    AnalysisSettings settings;
    settings.referenceHz = 442.0;
    settings.sensitivity = 1;
    settings.classic = true;
    ASSERT_TRUE(analysis.openAndAnalyze(dir / "a4.wav", settings));

    AnalysisReport report;
    report.describe(analysis);
    std::ostringstream text;
    report.writeCsv(text, false, true);
    const std::vector<std::string> rows = lines(text.str());
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[1],
              "# settings: filter_length=3 sensitivity=1 lowest_hz=82.5 highest_hz=1760 "
              "reference_hz=442 noise_threshold=0.02 pitch_mode=classic sample_rate=11025 "
              "channels=1 bits=16 block_frames=1024 hop_frames=256");
    // Named on that reference: 440 Hz lies 7.9 cents below its A4.
    int flatA4 = 0;
    for (std::size_t i = 3; i < rows.size(); ++i)
        flatA4 += cell(rows[i], 5) == "A4" && std::abs(std::stod(cell(rows[i], 6)) + 7.9) <= 0.15;
    EXPECT_GE(flatA4, 5);

    EXPECT_FALSE(analysis.openAndAnalyze(dir / "adpcm.wav", AnalysisSettings {}));
    EXPECT_FALSE(analysis.settings());
    report.describe(analysis);
    EXPECT_TRUE(report.settings.empty());
    EXPECT_TRUE(report.samples.empty());

    ASSERT_TRUE(analysis.openAndAnalyze(dir / "a4.wav", AnalysisSettings {}));
    ASSERT_TRUE(analysis.settings());
    EXPECT_EQ(analysis.settings()->referenceHz, 440.0);
    analysis.clear();
    EXPECT_FALSE(analysis.settings());
}
