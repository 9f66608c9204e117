// The numeric readout: the note as the player reads it, its frequency and its cents.

#include "CPitch.h"
#include "KeyContext.h"
#include "PitchReadout.h"
#include "TunerTestKit.h"

#include <gtest/gtest.h>

#include <limits>

using namespace corvane;
using namespace corvane::tuner;
using corvane::tuner::test::centsAway;

namespace {

struct ReadoutCase
{
    const char *what;
    int key;
    int transposeKey;
    double hz;
    const char *note;
    const char *hzText;
    const char *centsText;
};

} // namespace

TEST(PitchReadout, ShowsTheWrittenNoteTheFrequencyAndSharpAsPositive)
{
    const ReadoutCase cases[] = {
        { "a' in tune", kKeyC, kKeyC, 440.0, "A4", "440.0 Hz", "0.0 cents" },
        { "ten cents sharp", kKeyC, kKeyC, centsAway(440.0, 10.0), "A4", "442.5 Hz",
          "+10.0 cents" },
        { "ten cents flat", kKeyC, kKeyC, centsAway(440.0, -10.0), "A4", "437.5 Hz",
          "-10.0 cents" },
        { "low E thirty cents flat", kKeyC, kKeyC, centsAway(82.4069, -30.0), "E2", "81.0 Hz",
          "-30.0 cents" },
        { "B flat in F", 6, kKeyC, 233.0819, "Bb3", "233.1 Hz", "0.0 cents" },
        { "the same pitch in E is A sharp", 11, kKeyC, 233.0819, "A#3", "233.1 Hz", "0.0 cents" },
        // A B-flat instrument reads a concert B-flat as its C, one tone higher.
        { "concert Bb for a Bb instrument", kKeyC, 5, 233.0819, "C4", "233.1 Hz", "0.0 cents" },
        { "middle C's octave starts at C", kKeyC, kKeyC, 261.6256, "C4", "261.6 Hz", "0.0 cents" },
        { "B below it is in octave 3", kKeyC, kKeyC, 246.9417, "B3", "246.9 Hz", "0.0 cents" },
    };
    CPitch pitch;
    for (const ReadoutCase &c : cases) {
        KeyContext keys;
        ASSERT_TRUE(keys.SetKey(c.key));
        ASSERT_TRUE(keys.SetTransposition(c.transposeKey, 0));
        const PitchReadout readout = PitchReadout::of(c.hz, pitch, keys, DegreeCents {});
        EXPECT_TRUE(readout.shown()) << c.what;
        EXPECT_EQ(readout.note(), c.note) << c.what;
        EXPECT_EQ(readout.hzText(), c.hzText) << c.what;
        EXPECT_EQ(readout.centsText(), c.centsText) << c.what;
    }
}

TEST(PitchReadout, CentsCountFromTheTemperedPitchOfTheNoteHeard)
{
    CPitch pitch;
    KeyContext keys; // C major: A is degree 9
    DegreeCents adjust {};
    adjust[9] = 5.0f; // this temperament's A lies five cents above equal temperament
    const PitchReadout readout = PitchReadout::of(440.0, pitch, keys, adjust);
    EXPECT_NEAR(readout.cents(), -5.0, 1e-4);
    EXPECT_EQ(readout.centsText(), "-5.0 cents");
}

TEST(PitchReadout, BlankWhenNothingIsHeard)
{
    CPitch pitch;
    KeyContext keys;
    for (double hz : { 0.0, -1.0, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity() }) {
        const PitchReadout readout = PitchReadout::of(hz, pitch, keys, DegreeCents {});
        EXPECT_FALSE(readout.shown());
        EXPECT_EQ(readout.note(), "");
        EXPECT_EQ(readout.hzText(), "");
        EXPECT_EQ(readout.centsText(), "");
    }
}
