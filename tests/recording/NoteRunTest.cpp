#include "CPitch.h"
#include "NoteRun.h"

#include "PostProcessing.h"

#include <gtest/gtest.h>

#include <vector>

using namespace corvane;

namespace {

constexpr int32_t kA4 = 48;
constexpr int32_t kRest = NoteRun::kRest;

// Post-processed samples of the given frequencies and levels (0 Hz: a silent block).
std::vector<NoteRun> runsOf(const std::vector<std::pair<double, double>> &blocks)
{
    SampleList samples;
    for (const auto &[hz, level] : blocks) {
        CSample &sample = samples.append();
        sample.setFrequency(hz, CPitch());
        sample.setLevel(level);
    }
    postProcess(samples, 0.2, CPitch(), 1024);
    return buildNoteRuns(samples);
}

} // namespace

TEST(NoteRuns, SilenceIsOneRestAndAnIsolatedBlockBetweenSilencesIsItsOwnUnstableNote)
{
    EXPECT_TRUE(runsOf({}).empty());
    EXPECT_EQ(runsOf(std::vector<std::pair<double, double>>(11, { 0.0, 0.0 })),
              (std::vector<NoteRun> { { 0, 11, kRest, true, false } }));
    EXPECT_EQ(runsOf({ { 0, 0 }, { 0, 0 }, { 440, 0.5 }, { 0, 0 } }),
              (std::vector<NoteRun> { { 0, 2, kRest, true, false },
                                      { 2, 1, kA4, false, true },
                                      { 3, 1, kRest, true, false } }));
}

TEST(NoteRuns, ANewNoteStartsOnAnotherPitchOrOnARiseInLevel)
{
    const auto runs = runsOf({ { 440, 0.5 },
                               { 440, 0.55 },
                               { 440, 0.4 }, // falling level stays in the note
                               { 440, 0.7 }, // a rise of 0.3: a new attack
                               { 440, 0.7 },
                               { 494, 0.7 },
                               { 494, 0.75 } });
    EXPECT_EQ(runs,
              (std::vector<NoteRun> { { 0, 3, kA4, false, false },
                                      { 3, 2, kA4, false, false },
                                      { 5, 2, kA4 + 2, false, false } }));
}
