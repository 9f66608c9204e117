#include "AnalyzeCommand.h"

#include "CsvText.h"
#include "TempDir.h"
#include "WaveFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

using namespace corvane;
using namespace corvane::test;

namespace {

int analyze(const AnalyzeOptions &options, std::string &out, std::string &err)
{
    std::ostringstream o, e;
    const int status = runAnalyzeCommand(options, o, e, false);
    out = o.str();
    err = e.str();
    return status;
}

// The mean cents of the one note of the file.
double noteCents(const std::string &out)
{
    for (const std::string &row : lines(out))
        if (cell(row, 4) == "0")
            return std::stod(cell(row, 3));
    return 1e9;
}

} // namespace

// An E4 played at its equal-tempered pitch lies 13.7 cents sharp of the meantone E (a pure
// third above C); with the map's 1/1 on E it is the tonic, and in tune.
TEST(ScalaOption, CentsAreCountedFromTheNotesOfTheScale)
{
    TempWorkingDir dir;
    writeWave("e4.wav", WaveHeader {}, pcmBytes(tone(329.628, 1.5, 11025), 1, 16));
    std::filesystem::copy_file(std::string(CORVANE_SCALES_DIR) + "/meantone-quarter-comma.scl",
                               "mt.scl");
    AnalyzeOptions options;
    options.file = "e4.wav";
    options.notes = true;
    std::string out, err;
    ASSERT_EQ(analyze(options, out, err), 0) << err;
    EXPECT_NEAR(noteCents(out), 0.0, 0.2);

    options.scalaFile = "mt.scl";
    ASSERT_EQ(analyze(options, out, err), 0) << err;
    EXPECT_NEAR(noteCents(out), 13.7, 0.2) << out;
    EXPECT_TRUE(err.empty()) << err;

    // The 1/1 on E4 (MIDI 64), which the map also gives at 329.6276 Hz: the reference moves so
    // that E sounds there, and the E4 is in tune again.
    std::ofstream("e.kbm")
            << "12\n0\n127\n64\n64\n329.6276\n12\n0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n";
    options.kbmFile = "e.kbm";
    options.comments = true;
    ASSERT_EQ(analyze(options, out, err), 0) << err;
    EXPECT_NEAR(noteCents(out), 0.0, 0.2) << out;
    EXPECT_NE(out.find("reference_hz=440 "), std::string::npos) << out;
}

TEST(ScalaOption, AScaleTheWheelsCannotTakeEndsTheRunWithTheReason)
{
    TempWorkingDir dir;
    writeWave("a4.wav", WaveHeader {}, pcmBytes(tone(440.0, 0.5, 11025), 1, 16));
    std::ofstream("five.scl") << "Pentatonic\n5\n9/8\n5/4\n3/2\n5/3\n2/1\n";
    std::ofstream("broken.scl") << "Broken\n12\n100.0\n1/0\n";
    AnalyzeOptions options;
    options.file = "a4.wav";
    std::string out, err;
    options.scalaFile = "five.scl";
    EXPECT_EQ(analyze(options, out, err), 2);
    EXPECT_EQ(err.rfind("tonrik: five.scl: it has 5 notes", 0), 0u) << err;
    options.scalaFile = "broken.scl";
    EXPECT_EQ(analyze(options, out, err), 2);
    EXPECT_EQ(err, "tonrik: broken.scl: line 4: \"1/0\" is not a pitch\n");
    options.scalaFile = "missing.scl";
    EXPECT_EQ(analyze(options, out, err), 2);
    EXPECT_EQ(err.rfind("tonrik: missing.scl: ", 0), 0u) << err;
    EXPECT_TRUE(out.empty());
}
