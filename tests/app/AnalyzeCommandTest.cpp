#include "AnalysisReport.h"
#include "AnalyzeCommand.h"
#include "CPitch.h"
#include "PostProcessing.h"

#include "TempDir.h"
#include "FileBytes.h"
#include "WaveFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::test;

namespace {

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

std::string cell(const std::string &row, std::size_t column)
{
    std::istringstream in(row);
    std::string value;
    for (std::size_t c = 0; c <= column; ++c)
        std::getline(in, value, ',');
    return value;
}

// Silence, two blocks a little sharp of A4, one flat B-flat 3, silence.
AnalysisReport smallReport()
{
    SampleList samples;
    for (double hz : { 0.0, 445.0, 445.0, 231.0, 0.0 }) {
        CSample &sample = samples.append();
        sample.setFrequency(hz, CPitch());
        sample.setLevel(hz > 0.0 ? 0.5 : 0.01);
    }
    postProcess(samples, 0.2, CPitch());
    AnalysisReport report;
    report.latencySeconds = 0.2;
    report.settings = { { "filter_length", "3" }, { "reference_hz", "440" } };
    report.fill(samples, buildNoteRuns(samples), 0.1, CPitch());
    return report;
}

// C4, E4 and G4, a rest, then A4, each 0.8 s at 11025 Hz.
void writeMelody(const std::filesystem::path &path)
{
    std::vector<double> frames;
    for (double hz : { 261.63, 329.63, 392.0 })
        append(frames, tone(hz, 0.8, 11025));
    append(frames, silence(0.8, 11025));
    append(frames, tone(440.0, 0.8, 11025));
    writeWave(path, WaveHeader {}, pcmBytes(frames, 1, 16));
}

int run(const AnalyzeOptions &options, std::string &out, std::string &err)
{
    std::ostringstream o, e;
    const int status = runAnalyzeCommand(options, o, e, false);
    out = o.str();
    err = e.str();
    return status;
}

// Points the program's temporary directory at `dir` for as long as it lives.
class TmpDirOverride
{
public:
    explicit TmpDirOverride(const std::filesystem::path &dir)
    {
        if (const char *old = std::getenv("TMPDIR"))
            m_old = old;
        setenv("TMPDIR", dir.c_str(), 1);
    }
    ~TmpDirOverride() { m_old ? setenv("TMPDIR", m_old->c_str(), 1) : unsetenv("TMPDIR"); }
    TmpDirOverride(const TmpDirOverride &) = delete;
    TmpDirOverride &operator=(const TmpDirOverride &) = delete;

private:
    std::optional<std::string> m_old;
};

// Output with no buffer of its own, that notes at its first byte whether `watched` was empty.
class WatchingBuffer : public std::streambuf
{
public:
    explicit WatchingBuffer(std::filesystem::path watched)
        : m_watched(std::move(watched))
    {
    }
    std::optional<bool> emptyAtFirstByte;

protected:
    int_type overflow(int_type c) override
    {
        if (!emptyAtFirstByte)
            emptyAtFirstByte = std::filesystem::is_empty(m_watched);
        return c;
    }

private:
    std::filesystem::path m_watched;
};

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
    postProcess(samples, 0.2, CPitch());
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

TEST(AnalyzeCommand, PlainCsvWithTheLatencyAndSettingsOnlyWhereAskedForThem)
{
    TempWorkingDir dir;
    writeMelody("melody.wav");
    AnalyzeOptions options;
    options.file = "melody.wav";
    options.notes = true;
    std::string out, err;
    ASSERT_EQ(run(options, out, err), 0) << err;
    EXPECT_TRUE(err.empty()) << err;
    std::vector<std::string> rows = lines(out);
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[0], "start_s,duration_s,note,mean_cents,rest,unstable");
    for (const std::string &row : rows)
        EXPECT_NE(row[0], '#') << row;

    const std::string settings = "# settings: filter_length=3 sensitivity=2 lowest_hz=82.5 "
                                 "highest_hz=1760 reference_hz=440 noise_threshold=0.02 "
                                 "pitch_mode=refined";
    options.comments = true;
    ASSERT_EQ(run(options, out, err), 0) << err;
    rows = lines(out);
    ASSERT_GE(rows.size(), 4u);
    EXPECT_EQ(rows[0].rfind("# latency_s=", 0), 0u);
    EXPECT_EQ(rows[1].rfind(settings, 0), 0u) << rows[1];
    EXPECT_EQ(rows[2], "start_s,duration_s,note,mean_cents,rest,unstable");

    options.comments = false;
    options.verbose = true;
    ASSERT_EQ(run(options, out, err), 0) << err;
    EXPECT_EQ(lines(out)[0], "start_s,duration_s,note,mean_cents,rest,unstable");
    const std::vector<std::string> said = lines(err);
    ASSERT_EQ(said.size(), 2u) << err;
    EXPECT_EQ(said[0].rfind("# latency_s=", 0), 0u);
    EXPECT_EQ(said[1].rfind(settings, 0), 0u) << said[1];

    // The analysis left nothing in the current directory.
    EXPECT_FALSE(std::filesystem::exists("tnrk0000.tmp"));
    EXPECT_FALSE(std::filesystem::exists("tonrik.def"));
}

TEST(AnalyzeCommand, OptionsOverrideTheSettingsAndTheReferenceMovesTheCents)
{
    TempWorkingDir dir;
    writeWave("a4.wav", WaveHeader {}, pcmBytes(tone(440.0, 1.5, 11025), 1, 16));
    AnalyzeOptions options;
    options.file = "a4.wav";
    options.referenceHz = 442.0;
    options.filterLength = 1;
    options.comments = true;
    std::string out, err;
    ASSERT_EQ(run(options, out, err), 0) << err;
    const std::vector<std::string> rows = lines(out);
    ASSERT_GE(rows.size(), 3u);
    EXPECT_NE(rows[1].find("filter_length=1 "), std::string::npos) << rows[1];
    EXPECT_NE(rows[1].find("reference_hz=442 "), std::string::npos) << rows[1];
    // Once settled, 440 Hz lies 7.9 cents below the A4 of a 442 Hz reference.
    int a4 = 0;
    for (std::size_t i = 3; i < rows.size(); ++i)
        a4 += cell(rows[i], 5) == "A4" && std::abs(std::stod(cell(rows[i], 6)) + 7.9) <= 0.15;
    EXPECT_GE(a4, 5);

    options.json = true;
    ASSERT_EQ(run(options, out, err), 0) << err;
    EXPECT_EQ(out.rfind("{\n", 0), 0u);
    EXPECT_NE(out.find("\"reference_hz\": 442"), std::string::npos);
}

TEST(AnalyzeCommand, ABadFileGetsTheProgramsMessageWithTheFileAndTheCause)
{
    TempWorkingDir dir;
    writeWave("adpcm.wav", adpcmHeader(), std::vector<uint8_t>(4096, 0x11));
    writeWave("take1.wav", waveHeader(3), std::vector<uint8_t>(6144, 0));
    writeWave("deep.wav", waveHeader(1, 11025, 12), std::vector<uint8_t>(4096, 0));
    Bytes().chunk("RIFF", Bytes().tag("WAVE").chunk("fmt ", Bytes().pcm(1, 11025, 16, 2)))
            .save("nodata.wav");
    const std::vector<std::pair<std::string, std::string>> cases = {
        { "adpcm.wav",
          "tonrik: Not a PCM Wave file: adpcm.wav (format tag 0x0002; only PCM (1) is "
          "supported)\n" },
        { "take1.wav",
          "tonrik: Not a PCM Wave file: take1.wav (3 channels; 1 or 2 are supported)\n" },
        { "deep.wav",
          "tonrik: Not a PCM Wave file: deep.wav (12 bits per sample; 8, 16 or 24 are "
          "supported)\n" },
        { "nodata.wav",
          "tonrik: Error handling wave file: nodata.wav: no 'data' chunk\n"
          "tonrik: Error descending into Wave file\n" },
    };
    for (const auto &[file, message] : cases) {
        AnalyzeOptions options;
        options.file = file;
        std::string out, err;
        EXPECT_EQ(run(options, out, err), 1) << file;
        EXPECT_TRUE(out.empty()) << file;
        EXPECT_EQ(err, message);
    }
}

// A recording shorter than one block, or one whose data chunk claims more than the file holds,
// is analyzed as far as it goes, with a word on stderr and a successful status.
TEST(AnalyzeCommand, ShortAndTruncatedFilesAreAnalyzedAsFarAsTheyGo)
{
    TempWorkingDir dir;
    writeWave("short.wav", WaveHeader {}, pcmBytes(tone(440.0, 0.05, 11025), 1, 16));
    AnalyzeOptions options;
    options.file = "short.wav";
    std::string out, err;
    EXPECT_EQ(run(options, out, err), 0) << err;
    EXPECT_EQ(out, "time_s,pitch_hz,level,voiced,stable,note,cents\n");
    EXPECT_EQ(err,
              "tonrik: short.wav: shorter than one analysis block (551 of 1024 frames); there "
              "is nothing to analyze\n");

    // Two seconds of A4 whose header claims four.
    const std::vector<uint8_t> data = pcmBytes(tone(440.0, 2.0, 11025), 1, 16);
    writeWave("cut.wav", WaveHeader {}, data);
    {
        std::FILE *file = std::fopen("cut.wav", "r+b");
        ASSERT_NE(file, nullptr);
        const uint32_t claimed = static_cast<uint32_t>(data.size() * 2);
        const uint8_t size[4] = { uint8_t(claimed), uint8_t(claimed >> 8), uint8_t(claimed >> 16),
                                  uint8_t(claimed >> 24) };
        std::fseek(file, 40, SEEK_SET); // RIFF header 12, fmt chunk 24, "data" 4
        std::fwrite(size, 1, 4, file);
        std::fclose(file);
    }
    options.file = "cut.wav";
    options.notes = true;
    EXPECT_EQ(run(options, out, err), 0) << err;
    EXPECT_NE(out.find(",A4,"), std::string::npos) << out;
    EXPECT_EQ(err,
              "tonrik: Error - corrupt wave file: cut.wav: its data chunk claims 88200 bytes but "
              "the file holds 44100; analyzed what is there (1.95 s)\n");
}

// Of a stereo file the left channel is heard; a silent left channel beside a sounding right one
// is pointed out, and --channel picks the right one or the mix of both.
TEST(AnalyzeCommand, StereoFilesAreHeardThroughTheChannelAsked)
{
    TempWorkingDir dir;
    const std::vector<uint8_t> right = pcmBytes(tone(392.0, 1.5, 11025), 1, 16);
    std::vector<uint8_t> data;
    for (std::size_t i = 0; i < right.size(); i += 2)
        data.insert(data.end(), { 0, 0, right[i], right[i + 1] });
    writeWave("right.wav", waveHeader(2), data);

    AnalyzeOptions options;
    options.file = "right.wav";
    options.notes = true;
    std::string out, err;
    ASSERT_EQ(run(options, out, err), 0) << err;
    EXPECT_EQ(out.find(",G4,"), std::string::npos) << out;
    EXPECT_EQ(err,
              "tonrik: right.wav: the left channel is silent and the right is not; try "
              "--channel right\n");

    for (StereoChannel channel : { StereoChannel::Right, StereoChannel::Mix }) {
        options.channel = channel;
        ASSERT_EQ(run(options, out, err), 0) << err;
        EXPECT_TRUE(err.empty()) << err;
        EXPECT_NE(out.find(",G4,"), std::string::npos) << out;
    }
    options.json = true;
    ASSERT_EQ(run(options, out, err), 0) << err;
    EXPECT_NE(
            out.find(
                    "\"channels\": 2, \"bits\": 16, \"block_frames\": 1024, \"channel\": \"mix\"}"),
            std::string::npos)
            << out;
    options.json = false;

    writeWave("mono.wav", WaveHeader {}, pcmBytes(tone(392.0, 1.5, 11025), 1, 16));
    options.file = "mono.wav";
    ASSERT_EQ(run(options, out, err), 0) << err;
    EXPECT_NE(out.find(",G4,"), std::string::npos) << out;
    EXPECT_EQ(err, "tonrik: mono.wav: one channel only; --channel has nothing to choose from\n");
}

// Without --keep-bands no band file is written anywhere; with it the nine stay in the current
// folder for other tools, as the window leaves them.
TEST(AnalyzeCommand, BandFilesOnlyWhenKept)
{
    TempWorkingDir dir;
    TempDir tmp;
    TmpDirOverride tmpdir(tmp.path());
    writeMelody("melody.wav");
    AnalyzeOptions options;
    options.file = "melody.wav";
    std::string out, err;
    ASSERT_EQ(run(options, out, err), 0) << err;
    EXPECT_FALSE(std::filesystem::exists("tnrk0000.tmp"));
    EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));

    options.keepBands = true;
    ASSERT_EQ(run(options, out, err), 0) << err;
    // 44100 frames make 43 whole blocks of 1024; the signal file holds one float per frame.
    EXPECT_EQ(std::filesystem::file_size("tnrk0008.tmp"), 43u * 1024u * sizeof(float));
    EXPECT_TRUE(std::filesystem::exists("tnrk0000.tmp"));
    EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));
}

TEST(AnalyzeCommand, TheBandFilesAreGoneBeforeTheFirstLineIsPrinted)
{
    // A reader that stops after a few lines ends the program on a broken pipe; nothing may be
    // left in the temporary directory by then.
    TempWorkingDir dir;
    TempDir tmp;
    TmpDirOverride tmpdir(tmp.path());
    writeMelody("melody.wav");
    AnalyzeOptions options;
    options.file = "melody.wav";
    WatchingBuffer buffer(tmp.path());
    std::ostream out(&buffer);
    std::ostringstream err;
    ASSERT_EQ(runAnalyzeCommand(options, out, err, false), 0) << err.str();
    ASSERT_TRUE(buffer.emptyAtFirstByte.has_value());
    EXPECT_TRUE(*buffer.emptyAtFirstByte);
    EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));
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
    postProcess(samples, 0.2, CPitch());
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
