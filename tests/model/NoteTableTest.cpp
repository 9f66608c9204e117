#include "CPitch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

using namespace corvane;

TEST(NoteTable, FrequenciesAtStandardPitchAreSetFromEachA)
{
    const CPitch pitch;
    EXPECT_EQ(pitch.Reference(), 440.0);
    const double as[] = { 27.5, 55, 110, 220, 440, 880, 1760, 3520, 7040 };
    for (int k = 0; k < 9; ++k)
        EXPECT_EQ(pitch.NoteFreq(12 * k), as[k]) << "A" << k;
    EXPECT_NEAR(pitch.NoteFreq(39), 261.63, 0.005);
    EXPECT_NEAR(pitch.LowerBound(48), 427.47, 0.005);
    // The rounded semitone ratio is applied by repeated multiplication within each octave.
    EXPECT_EQ(pitch.NoteFreq(59), pitch.NoteFreq(58) * 1.05946309436);
    EXPECT_EQ(pitch.NoteFreq(97), 0.0);
    EXPECT_EQ(pitch.NoteFreq(-1), 0.0);
    EXPECT_EQ(pitch.NoteClassFreq(3), pitch.NoteFreq(51));
    EXPECT_EQ(pitch.NoteClassFreq(-9), pitch.NoteFreq(51));
}

TEST(NoteTable, EveryNoteIsFoundAgainAtEveryReferenceFrom415To466Hz)
{
    CPitch pitch;
    for (double r = 415.0; r <= 466.0; r += 0.25) {
        ASSERT_TRUE(pitch.SetReference(r));
        for (int i = 0; i < CPitch::kNoteCount; ++i)
            ASSERT_EQ(pitch.NoteIndex(pitch.NoteFreq(i)), i) << "reference " << r;
        // A boundary belongs to the upper note; just below it, to the lower one.
        for (int i = 1; i < CPitch::kNoteCount; ++i) {
            const double boundary = pitch.LowerBound(i);
            ASSERT_EQ(pitch.NoteIndex(boundary), i) << "reference " << r;
            ASSERT_EQ(pitch.NoteIndex(std::nextafter(boundary, 0.0)), i - 1) << "reference " << r;
        }
    }
}

TEST(NoteTable, FrequenciesOutsideTheBandsGoToTheEndNotes)
{
    const CPitch pitch;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<double, int> cases[] = { { 440.0, 48 },   { 427.0, 47 }, { 20.0, 0 },
                                             { 0.0, 0 },      { -5.0, 0 },   { nan, 0 },
                                             { 10000.0, 96 }, { inf, 96 } };
    for (auto [hz, index] : cases)
        EXPECT_EQ(pitch.NoteIndex(hz), index) << hz;
}

TEST(NoteTable, CentsAndApplyCentsConvertBothWays)
{
    EXPECT_NEAR(CPitch::Cents(880, 440), 1200.0, 1e-6);
    EXPECT_NEAR(CPitch::Cents(220, 440), -1200.0, 1e-6);
    EXPECT_EQ(CPitch::Cents(0, 440), 1200.0);
    EXPECT_EQ(CPitch::Cents(440, 0), 1200.0);
    EXPECT_EQ(CPitch::Cents(std::numeric_limits<double>::quiet_NaN(), 440), 1200.0);
    EXPECT_NEAR(CPitch::ApplyCents(440, 100), 466.16, 0.005);
    EXPECT_NEAR(CPitch::ApplyCents(440, -1200), 220.0, 1e-6);
    EXPECT_NEAR(CPitch::Cents(CPitch::ApplyCents(311.1, -37.5), 311.1), -37.5, 1e-9);
}

// From A0 the sharps are A#, C#, D#, F# and G#; neighboring naturals are one staff step apart
// and a sharp shares its natural's step.
TEST(NoteTable, StaffPositionsFollowLetterNamesAndSharpsKeepTheirNatural)
{
    const CPitch pitch;
    const std::string_view sharps = "010010100101";
    EXPECT_EQ(pitch.StaffPosition(0), -23);
    EXPECT_EQ(pitch.StaffPosition(39), 0); // middle C
    for (int i = 1; i < CPitch::kNoteCount; ++i) {
        EXPECT_EQ(pitch.IsSharp(i), sharps[i % 12] == '1') << i;
        EXPECT_EQ(pitch.StaffPosition(i) - pitch.StaffPosition(i - 1), pitch.IsSharp(i) ? 0 : 1)
                << i;
    }
    EXPECT_EQ(pitch.StaffPosition(96), 33);
    EXPECT_FALSE(pitch.IsSharp(CPitch::kRest));
}

TEST(NoteTable, AnUnusableReferenceIsRefusedAndTheTableKept)
{
    CPitch pitch;
    ASSERT_TRUE(pitch.SetReference(415.0));
    EXPECT_EQ(pitch.NoteFreq(48), 415.0);
    EXPECT_EQ(pitch.NoteFreq(0), 25.9375);
    EXPECT_EQ(pitch.NoteIndex(415.0), 48);

    const double inf = std::numeric_limits<double>::infinity();
    for (double bad :
         { 0.0, -0.0, -440.0, std::numeric_limits<double>::quiet_NaN(), inf, -inf, 1e39, 1e-46 }) {
        EXPECT_FALSE(CPitch::IsValidReference(bad)) << bad;
        EXPECT_FALSE(pitch.SetReference(bad)) << bad;
        EXPECT_EQ(pitch.Reference(), 415.0) << bad;
        EXPECT_EQ(pitch.NoteFreq(48), 415.0) << bad;
        EXPECT_EQ(pitch.LowerBound(0), 25.9375 * 0.9715319411569019) << bad;
    }
    EXPECT_TRUE(CPitch::IsValidReference(1.0));
    EXPECT_TRUE(CPitch::IsValidReference(10000.0));
}

// Beyond the table the quarter-tone bands carry on in equal semitones, so a pitch is never
// given to the nearest end of the table; inside it the table's own answer stands.
TEST(NoteTable, NearestNoteCarriesTheBandsOnBeyondBothEnds)
{
    const CPitch table;
    EXPECT_EQ(table.NearestNote(440.0), 48);
    EXPECT_EQ(table.NearestNote(7040.0), 96);
    EXPECT_EQ(table.NearestNote(7040.0 * std::exp2(0.99 / 24.0)), 96); // just under A8's band end
    EXPECT_EQ(table.NearestNote(7040.0 * std::exp2(1.01 / 24.0)), 97); // A#8
    EXPECT_EQ(table.NearestNote(27.5 * std::exp2(-0.99 / 24.0)), 0);
    EXPECT_EQ(table.NearestNote(27.5 * std::exp2(-1.01 / 24.0)), -1); // G#0
    EXPECT_EQ(table.NearestNote(16.3516), -9);                        // C0
    EXPECT_NEAR(table.NearestNoteFreq(-9), 16.3516, 1e-3);
    EXPECT_NEAR(table.NearestNoteFreq(99), 8372.02, 1e-2); // C9
    EXPECT_EQ(table.NearestNoteFreq(48), 440.0);

    EXPECT_TRUE(CPitch::IsPlausibleReference(415.0));
    EXPECT_FALSE(CPitch::IsPlausibleReference(15000.0));
    EXPECT_FALSE(CPitch::IsPlausibleReference(std::nan("")));
}
