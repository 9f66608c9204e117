#include "AnalyzeCommand.h"

#include "TempDir.h"
#include "WaveFixtures.h"

#include <gtest/gtest.h>

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

std::vector<std::string> field(const std::vector<std::string> &rows, std::size_t column)
{
    std::vector<std::string> values;
    for (const std::string &row : rows) {
        std::istringstream in(row);
        std::string cell;
        for (std::size_t c = 0; c <= column; ++c)
            std::getline(in, cell, ',');
        values.push_back(cell);
    }
    return values;
}

// C4, E4 and G4, a rest, then A4, each note 0.8 s at 11025 Hz.
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
    ~TmpDirOverride()
    {
        if (m_old)
            setenv("TMPDIR", m_old->c_str(), 1);
        else
            unsetenv("TMPDIR");
    }
    TmpDirOverride(const TmpDirOverride &) = delete;
    TmpDirOverride &operator=(const TmpDirOverride &) = delete;

private:
    std::optional<std::string> m_old;
};

// Output that notes, at its first byte, whether `watched` was empty then.
class WatchingBuffer : public std::stringbuf
{
public:
    explicit WatchingBuffer(std::filesystem::path watched)
        : m_watched(std::move(watched))
    {
    }
    std::optional<bool> emptyAtFirstByte;

protected:
    std::streamsize xsputn(const char *s, std::streamsize n) override
    {
        look();
        return std::stringbuf::xsputn(s, n);
    }
    int_type overflow(int_type c) override
    {
        look();
        return std::stringbuf::overflow(c);
    }

private:
    void look()
    {
        if (!emptyAtFirstByte)
            emptyAtFirstByte = std::filesystem::is_empty(m_watched);
    }
    std::filesystem::path m_watched;
};

} // namespace

TEST(AnalyzeCommand, AKnownMelodyComesOutAsItsNotesInOrder)
{
    TempWorkingDir dir;
    writeMelody("melody.wav");
    AnalyzeOptions options;
    options.file = "melody.wav";
    options.notes = true;
    std::string out, err;
    ASSERT_EQ(run(options, out, err), 0) << err;
    EXPECT_TRUE(err.empty()) << err;

    const std::vector<std::string> rows = lines(out);
    ASSERT_GE(rows.size(), 4u);
    EXPECT_EQ(rows[0].rfind("# latency_s=", 0), 0u);
    EXPECT_EQ(rows[1].rfind("# settings: filter_length=3 sensitivity=2 lowest_hz=82.5 "
                            "highest_hz=1760 reference_hz=440 noise_threshold=0.2",
                            0),
              0u)
            << rows[1];
    EXPECT_EQ(rows[2], "start_s,duration_s,note,mean_cents,rest");

    // Notes that last at least a quarter of a second, in order.
    std::vector<std::string> melody;
    for (std::size_t i = 3; i < rows.size(); ++i) {
        const std::vector<std::string> cells = field({ rows[i] }, 1);
        const std::string name = field({ rows[i] }, 2)[0];
        if (std::stod(cells[0]) >= 0.25 && !name.empty())
            melody.push_back(name);
    }
    EXPECT_EQ(melody, (std::vector<std::string> { "C4", "E4", "G4", "A4" }));
    // The analysis left nothing in the current directory.
    EXPECT_FALSE(std::filesystem::exists("tnrk0000.tmp"));
    EXPECT_FALSE(std::filesystem::exists("tonrik.def"));
}

TEST(AnalyzeCommand, OptionsOverrideTheSettingsAndJsonCarriesTheBlocks)
{
    TempWorkingDir dir;
    writeMelody("melody.wav");
    AnalyzeOptions options;
    options.file = "melody.wav";
    options.json = true;
    options.referenceHz = 442.0;
    options.filterLength = 1;
    std::string out, err;
    ASSERT_EQ(run(options, out, err), 0) << err;
    EXPECT_NE(out.find("\"filter_length\": 1"), std::string::npos);
    EXPECT_NE(out.find("\"reference_hz\": 442"), std::string::npos);
    EXPECT_NE(out.find("\"samples\": ["), std::string::npos);
    EXPECT_NE(out.find("\"note\": \"E4\""), std::string::npos);
    EXPECT_EQ(out.back(), '\n');
}

TEST(AnalyzeCommand, ABadFileGetsTheProgramsMessageAndAFailingStatus)
{
    TempWorkingDir dir;
    WaveHeader adpcm;
    adpcm.formatTag = 2;
    adpcm.bitsPerSample = 4;
    adpcm.blockAlign = 256;
    adpcm.extra = { 0xf4, 0x01, 7, 0 };
    writeWave("adpcm.wav", adpcm, std::vector<uint8_t>(4096, 0x11));

    AnalyzeOptions options;
    options.file = "adpcm.wav";
    std::string out, err;
    EXPECT_EQ(run(options, out, err), 1);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(err, "tonrik: Not a PCM Wave file\n");

    options.file = "missing.wav";
    EXPECT_EQ(run(options, out, err), 1);
    EXPECT_EQ(err, "tonrik: Error opening wave file: missing.wav\n");
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
