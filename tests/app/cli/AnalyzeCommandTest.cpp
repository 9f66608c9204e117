#include "AnalyzeCommand.h"

#include "CsvText.h"
#include "FileBytes.h"
#include "TempDir.h"
#include "WaveFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::test;

namespace {

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
        { "nodata.wav", "tonrik: Error handling wave file: nodata.wav: no 'data' chunk\n" },
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
    options.blockHop = true; // a row per block: the file holds none
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
            out.find("\"channels\": 2, \"bits\": 16, \"block_frames\": 1024, \"hop_frames\": 256, "
                     "\"channel\": \"mix\"}"),
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

TEST(AnalyzeCommand, TheSummaryFindsTheOneDegreePlayedSharp)
{
    TempWorkingDir dir;
    // C4 E4 G4 C5, twice, 0.8 s each; every E is played 8 cents sharp. An A3 leads in: the
    // analyzer settles more slowly on a note out of silence than on a change of note.
    std::vector<double> frames = tone(220.0, 0.8, 11025);
    for (int round = 0; round < 2; ++round) {
        for (double hz : { 261.626, 329.628 * std::pow(2.0, 8.0 / 1200.0), 391.995, 523.251 })
            append(frames, tone(hz, 0.8, 11025));
    }
    writeWave("scale.wav", WaveHeader {}, pcmBytes(frames, 1, 16));
    AnalyzeOptions options;
    options.file = "scale.wav";
    options.summary = true;
    std::string out, err;
    ASSERT_EQ(run(options, out, err), 0) << err;
    const std::vector<std::string> rows = lines(out);
    ASSERT_GE(rows.size(), 4u) << out;
    EXPECT_EQ(rows[0], "scope,name,count,mean_cents,spread_cents,in_tune_share");
    std::map<std::string, double> meanOfDegree;
    for (const std::string &row : rows) {
        if (row.rfind("degree,", 0) == 0)
            meanOfDegree[cell(row, 1)] = std::stod(cell(row, 3));
    }
    ASSERT_EQ(meanOfDegree.size(), 4u) << out;
    EXPECT_NEAR(meanOfDegree["E"], 8.0, 1.0);
    EXPECT_NEAR(meanOfDegree["C"], 0.0, 1.0);
    EXPECT_NEAR(meanOfDegree["G"], 0.0, 1.0);
    EXPECT_NE(out.find("note,C5,"), std::string::npos) << "C4 and C5 each have their row";
}
