#include "AnalyzeCommand.h"
#include "ListenCommand.h"
#include "LiveRows.h"

#include "CsvText.h"
#include "TempDir.h"
#include "WaveFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::test;

namespace {

// The notes of the stable rows, each run of one note once.
std::vector<std::string> heldNotes(const std::vector<std::string> &rows)
{
    std::vector<std::string> notes;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const std::string note = cell(rows[i], 5);
        if (cell(rows[i], 4) == "1" && !note.empty() && (notes.empty() || notes.back() != note))
            notes.push_back(note);
    }
    return notes;
}

} // namespace

TEST(LiveRows, ARowIsStableByEitherNeighbourAndComesOneBlockLate)
{
    // 11025 Hz, blocks of 1024 frames, voiced above 0.01, no delay.
    LiveRows rows(11025, 0.02, 440.0, 0.0);
    const auto at = [](int block, double hz, double level) {
        return BlockReading { hz, level, static_cast<std::uint64_t>(block) * 1024 };
    };
    EXPECT_FALSE(rows.add(at(0, 440.0, 0.5)));
    // Block 0 has only the next block to judge by: 440 against 452 Hz is 47 cents.
    auto row = rows.add(at(1, 452.0, 0.5));
    ASSERT_TRUE(row);
    EXPECT_TRUE(row->stable);
    EXPECT_EQ(row->note, 48);
    // Block 1 is stable by block 0, though block 2 is a fifth away.
    row = rows.add(at(2, 660.0, 0.5));
    ASSERT_TRUE(row);
    EXPECT_TRUE(row->stable);
    EXPECT_NEAR(row->timeSeconds, 1024.0 / 11025.0, 1e-12);
    // Block 2 is alone: a fifth below it and a quiet block after it.
    row = rows.add(at(3, 660.0, 0.005));
    ASSERT_TRUE(row);
    EXPECT_FALSE(row->stable);
    EXPECT_EQ(row->note, 55);
    EXPECT_NEAR(row->cents, 1.955, 0.01);
    // The quiet block is unvoiced and unnamed; the last comes out at the end.
    const auto last = rows.finish();
    ASSERT_TRUE(last);
    EXPECT_FALSE(last->voiced || last->named || last->stable);
    EXPECT_FALSE(rows.finish());
}

TEST(LiveRows, NamesOnTheReferenceAndTakesTheLatencyOff)
{
    LiveRows rows(44100, 0.02, 442.0, 0.25);
    rows.add({ 442.0, 0.5, 44100 });
    const auto row = rows.finish();
    ASSERT_TRUE(row);
    EXPECT_EQ(row->note, 48);
    EXPECT_NEAR(row->cents, 0.0, 1e-9);
    EXPECT_NEAR(row->timeSeconds, 0.75, 1e-12);
}

// The whole command on the virtual capture device, in real time: the rows of a file heard live
// carry the columns of --analyze and the same notes and frequencies.
TEST(ListenCommand, HearsAFileLiveAsTheAnalysisReadsIt)
{
    TempWorkingDir dir;
    std::vector<double> frames;
    for (double hz : { 261.63, 329.63, 392.0 })
        append(frames, tone(hz, 0.5, 11025));
    writeWave("three.wav", WaveHeader {}, pcmBytes(frames, 1, 16));

    ListenOptions options;
    options.from = "three.wav";
    std::ostringstream out, err;
    ASSERT_EQ(runListenCommand(options, out, err), 0) << err.str();
    const std::vector<std::string> live = lines(out.str());
    ASSERT_GE(live.size(), 10u);
    EXPECT_EQ(live[0], "time_s,pitch_hz,level,voiced,stable,note,cents");
    EXPECT_EQ(heldNotes(live), (std::vector<std::string> { "C4", "E4", "G4" }));

    AnalyzeOptions analyze;
    analyze.file = "three.wav";
    std::ostringstream fileOut, fileErr;
    ASSERT_EQ(runAnalyzeCommand(analyze, fileOut, fileErr, false), 0) << fileErr.str();
    // The file's rows describe the same stretches of sound: a held note reads the same, to within
    // a few cents; only the rows at a note's edges may differ (the file's are placed by what
    // follows them, the live ones cannot be).
    std::map<std::string, std::pair<std::string, double>> fileRows;
    for (const std::string &row : lines(fileOut.str()))
        if (!row.empty() && row[0] != 't' && !cell(row, 1).empty())
            fileRows[cell(row, 0)] = { cell(row, 5), std::stod(cell(row, 1)) };
    int compared = 0;
    int differ = 0;
    for (std::size_t i = 1; i < live.size(); ++i) {
        const auto same = fileRows.find(cell(live[i], 0));
        if (same == fileRows.end() || cell(live[i], 4) != "1")
            continue;
        ++compared;
        if (same->second.first != cell(live[i], 5)
            || std::abs(std::stod(cell(live[i], 1)) - same->second.second)
                    > same->second.second * 0.002)
            ++differ;
    }
    EXPECT_LE(differ, compared / 10) << differ << " of " << compared;
    EXPECT_GE(compared, 10);

    options.analysis.json = true;
    options.seconds = 0.6;
    std::ostringstream json, jsonErr;
    ASSERT_EQ(runListenCommand(options, json, jsonErr), 0) << jsonErr.str();
    const std::vector<std::string> objects = lines(json.str());
    ASSERT_GE(objects.size(), 3u);
    EXPECT_LE(objects.size(), 30u) << "a row per hop of 23 ms";
    for (const std::string &object : objects)
        EXPECT_EQ(object.rfind("{\"time_s\": ", 0), 0u) << object;
}

TEST(ListenCommand, RefusesWhatItCannotHear)
{
    TempWorkingDir dir;
    ListenOptions options;
    options.from = "no-such.wav";
    std::ostringstream out, err;
    EXPECT_EQ(runListenCommand(options, out, err), 1);
    EXPECT_NE(err.str().find("no-such.wav"), std::string::npos) << err.str();
    options.from.clear();
    options.analysis.lowestHz = 500.0;
    options.analysis.highestHz = 400.0;
    EXPECT_EQ(runListenCommand(options, out, err), 2);
}
