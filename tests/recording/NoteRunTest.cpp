#include "NoteRun.h"

#include "PostProcessing.h"

#include <gtest/gtest.h>

#include <vector>

using namespace corvane;

namespace {

struct Block
{
    double hz;
    double level;
};

void fill(SampleList &samples, const std::vector<Block> &blocks)
{
    for (const Block &block : blocks) {
        CSample &sample = samples.append();
        sample.setFrequency(block.hz);
        sample.setLevel(block.level);
    }
    postProcess(samples, 0.2);
}

} // namespace

TEST(NoteRuns, ElevenSilentBlocksFormOneRest)
{
    SampleList samples;
    fill(samples, std::vector<Block>(11, Block { 0.0, 0.0 }));
    const std::vector<NoteRun> runs = buildNoteRuns(samples);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], (NoteRun { 0, 11, NoteRun::kRest, true, false }));
}

TEST(NoteRuns, AnIsolatedBlockBetweenSilencesIsItsOwnUnstableNote)
{
    SampleList samples;
    fill(samples, { { 0, 0 }, { 0, 0 }, { 440, 0.5 }, { 0, 0 } });
    const std::vector<NoteRun> runs = buildNoteRuns(samples);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].sampleCount, 2u);
    EXPECT_TRUE(runs[0].rest);
    EXPECT_FALSE(runs[1].rest);
    EXPECT_TRUE(runs[1].unstable);
    EXPECT_EQ(runs[1].firstSample, 2u);
    EXPECT_EQ(runs[1].sampleCount, 1u);
    EXPECT_EQ(runs[1].noteIndex, samples[2].note());
    EXPECT_TRUE(runs[2].rest);
}

TEST(NoteRuns, ANewNoteStartsOnAnotherPitchOrOnARiseInLevel)
{
    SampleList samples;
    fill(samples,
         { { 440, 0.5 },
           { 440, 0.55 },
           { 440, 0.4 }, // falling level stays in the note
           { 440, 0.7 },
           { 440, 0.7 }, // a rise of 0.3: a new attack
           { 494, 0.7 },
           { 494, 0.75 } });
    const std::vector<NoteRun> runs = buildNoteRuns(samples);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].sampleCount, 3u);
    EXPECT_EQ(runs[1].firstSample, 3u);
    EXPECT_EQ(runs[1].sampleCount, 2u);
    EXPECT_EQ(runs[1].noteIndex, runs[0].noteIndex);
    EXPECT_FALSE(runs[1].unstable);
    EXPECT_EQ(runs[2].noteIndex, runs[0].noteIndex + 2);
    EXPECT_EQ(runs[2].sampleCount, 2u);
}

TEST(NoteRuns, NoSamplesNoNotes)
{
    SampleList samples;
    EXPECT_TRUE(buildNoteRuns(samples).empty());
}
