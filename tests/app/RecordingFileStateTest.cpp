#include "RecordingFileState.h"

#include <gtest/gtest.h>

using namespace corvane;
using Origin = RecordingFileState::Origin;

TEST(RecordingFileState, ATakeIsUnsavedUntilItIsWrittenSomewhere)
{
    RecordingFileState state;
    EXPECT_FALSE(state.unsaved());

    state.captured();
    EXPECT_TRUE(state.unsaved());
    EXPECT_TRUE(state.path().empty());

    state.saved("/music/take.wav");
    EXPECT_FALSE(state.unsaved());
    EXPECT_EQ(state.path(), "/music/take.wav");

    // The next take replaces it and is unsaved again, with no file to save to.
    state.captured();
    EXPECT_TRUE(state.unsaved());
    EXPECT_TRUE(state.path().empty());

    state.emptied();
    EXPECT_EQ(state.origin(), Origin::Empty);
    EXPECT_FALSE(state.unsaved());
}

TEST(RecordingFileState, ABareNameGetsTheSuffixAndOtherNamesStayAsTyped)
{
    EXPECT_EQ(RecordingFileState::withSuffix("take", ".wav"), "take.wav");
    EXPECT_EQ(RecordingFileState::withSuffix("/a.b/take", ".wav"), "/a.b/take.wav");
    EXPECT_EQ(RecordingFileState::withSuffix("take.wav", ".wav"), "take.wav");
    EXPECT_EQ(RecordingFileState::withSuffix("take.WAV", ".wav"), "take.WAV");
    EXPECT_EQ(RecordingFileState::withSuffix("", ".wav"), "");
}
