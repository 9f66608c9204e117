#include "InstrumentPresets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

using namespace corvane;

namespace {
// Semitones of `hz` from A4; whole for an equal-tempered note.
double semitonesFromA4(float hz)
{
    return 12.0 * std::log2(hz / 440.0);
}
} // namespace

TEST(InstrumentPresets, EachIsAnOrderedPairOfTemperedNotesWithAnIdOfItsOwn)
{
    std::set<std::string> ids;
    for (const InstrumentPreset &preset : instrumentPresets()) {
        SCOPED_TRACE(std::string(preset.id));
        EXPECT_TRUE(ids.insert(std::string(preset.id)).second);
        EXPECT_LT(preset.lowestHz, preset.highestHz);
        const double low = semitonesFromA4(preset.lowestHz);
        const double high = semitonesFromA4(preset.highestHz);
        EXPECT_NEAR(low, std::round(low), 0.001);
        EXPECT_NEAR(high, std::round(high), 0.001);
        EXPECT_GE(preset.filterLengthCode, 1u);
        EXPECT_LE(preset.filterLengthCode, 3u);
        EXPECT_EQ(findInstrumentPreset(preset.id), &preset);
    }
    EXPECT_EQ(findInstrumentPreset("kazoo"), nullptr);
}

TEST(InstrumentPresets, TheFactoryLimitsAreTheFullRangeAndSharedLimitsFollowTheLastChoice)
{
    const InstrumentPreset *factory =
            instrumentPresetMatching(kFactoryLowestNoteHz, kFactoryHighestNoteHz, 3);
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(factory->id, "full-range");
    EXPECT_EQ(instrumentPresetMatching(82.5f, 1760.0f, 3), nullptr) << "set by hand";
    EXPECT_EQ(instrumentPresetMatching(kFactoryLowestNoteHz, kFactoryHighestNoteHz, 1), nullptr)
            << "the filter length is part of the preset";

    const InstrumentPreset *bass = findInstrumentPreset("bass-guitar");
    ASSERT_NE(bass, nullptr);
    EXPECT_EQ(instrumentPresetMatching(bass->lowestHz, bass->highestHz, bass->filterLengthCode)->id,
              "double-bass");
    EXPECT_EQ(instrumentPresetMatching(bass->lowestHz, bass->highestHz, bass->filterLengthCode,
                                       "bass-guitar")
                      ->id,
              "bass-guitar");
}
