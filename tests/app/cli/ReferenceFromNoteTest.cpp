#include "AnalyzeCommand.h"

#include "CsvText.h"
#include "TempDir.h"
#include "WaveFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

using namespace corvane;
using namespace corvane::test;

namespace {

// Half a second of silence, half a second of E5, then `seconds` of the note at `hz`, at 11025 Hz.
void writeTake(const std::string &name, double hz, double seconds = 2.5)
{
    std::vector<double> frames = silence(0.5, 11025);
    append(frames, tone(659.26, 0.5, 11025));
    append(frames, tone(hz, seconds, 11025));
    writeWave(name, WaveHeader {}, pcmBytes(frames, 1, 16));
}

struct Outcome
{
    int status = 0;
    std::string out;
    std::string err;
};

Outcome analyze(AnalyzeOptions options)
{
    std::ostringstream out, err;
    Outcome run;
    run.status = runAnalyzeCommand(options, out, err, false);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// The reference the command said it took, from "... gives the reference 441.98 Hz".
double saidReference(const std::string &err)
{
    const std::string marker = "gives the reference ";
    const auto at = err.find(marker);
    return at == std::string::npos ? 0.0 : std::stod(err.substr(at + marker.size()));
}

} // namespace

// Synthetic notes at 438 and 442 Hz (A4) and 830 Hz (A5 at the baroque 415): the reference
// comes back within a tenth of a cent, and the rows are named on it.
TEST(ReferenceFromNote, TheReferenceOfTheFirstSteadyNote)
{
    TempWorkingDir dir;
    struct Case
    {
        double playedHz;
        int note;
        double referenceHz;
    };
    for (const Case &c :
         { Case { 438.0, 48, 438.0 }, Case { 442.0, 48, 442.0 }, Case { 830.0, 60, 415.0 } }) {
        writeTake("take.wav", c.playedHz);
        AnalyzeOptions options;
        options.file = "take.wav";
        options.referenceNote = c.note;
        options.comments = true;
        const Outcome run = analyze(options);
        ASSERT_EQ(run.status, 0) << run.err;
        const double taken = saidReference(run.err);
        const double errorCents = 1200.0 * std::log2(taken / c.referenceHz);
        std::cout << c.playedHz << " Hz: " << run.err;
        EXPECT_LT(std::abs(errorCents), 0.1) << run.err;
        // Heard from 1.0 s on (the E5 before it is another note); the analyzer's window may
        // straddle the change by a block or two.
        const auto at = run.err.find(" at ");
        ASSERT_NE(at, std::string::npos);
        EXPECT_NEAR(std::stod(run.err.substr(at + 4)), 1.0, 0.25) << run.err;
        EXPECT_NE(run.out.find("reference_hz=" + std::to_string(static_cast<int>(taken))),
                  std::string::npos);
        // On the new reference the held note is in tune.
        const std::vector<std::string> rows = lines(run.out);
        const std::string last = rows[rows.size() - 5];
        EXPECT_NEAR(std::stod(cell(last, 6)), 0.0, 0.15) << last;
    }
}

TEST(ReferenceFromNote, NoSteadyNoteOrAReferenceOutOfRangeIsSaidAndChangesNothing)
{
    TempWorkingDir dir;
    writeTake("short.wav", 440.0, 0.6);
    AnalyzeOptions options;
    options.file = "short.wav";
    options.referenceNote = 48;
    Outcome run = analyze(options);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no A4 held steadily for 1 s or more"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());

    // A5 asked for on an 880 Hz reference and heard at 1800 Hz would put A4 at 900 Hz: refused
    // with the reference dialog's range message.
    writeTake("high.wav", 1800.0);
    options.file = "high.wav";
    options.referenceNote = 60;
    options.highestHz = 2000.0;
    options.referenceHz = 880.0;
    run = analyze(options);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("The reference must be a frequency from 220 Hz to 880 Hz"),
              std::string::npos)
            << run.err;
}

// With a Scala scale the note is put in tune in the scale: Werckmeister's A lies 11.73 cents
// below equal temperament, so an A4 played at 440 Hz gives a reference 11.73 cents higher.
TEST(ReferenceFromNote, InTheTemperamentOfTheScale)
{
    TempWorkingDir dir;
    writeTake("take.wav", 440.0);
    std::filesystem::copy_file(std::string(CORVANE_SCALES_DIR) + "/werckmeister3.scl", "werck.scl");
    AnalyzeOptions options;
    options.file = "take.wav";
    options.referenceNote = 48;
    options.scalaFile = "werck.scl";
    const Outcome run = analyze(options);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NEAR(1200.0 * std::log2(saidReference(run.err) / 440.0), 11.73, 0.1) << run.err;
    const std::vector<std::string> rows = lines(run.out);
    EXPECT_NEAR(std::stod(cell(rows[rows.size() - 5], 6)), 0.0, 0.15);
}
