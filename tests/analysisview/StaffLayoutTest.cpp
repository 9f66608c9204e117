#include "KeyContext.h"
#include "StaffLayout.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {
constexpr int kMiddle = 60;
constexpr int kMiddleC = 39, kA4 = 48, kDFlat4 = 40, kFSharp4 = 45, kC6 = 63, kE2 = 19;
} // namespace

TEST(StaffLayout, TheClefPlacesMiddleCAndTheNotesAroundIt)
{
    KeyContext keys;
    struct Case
    {
        int clef;
        int middleC;
    };
    for (const Case c : { Case { 0, kMiddle + 24 }, Case { 1, kMiddle }, Case { 2, kMiddle - 8 },
                          Case { 3, kMiddle - 24 } }) {
        ASSERT_TRUE(keys.SetClef(c.clef));
        const StaffLayout staff(keys, kMiddle);
        EXPECT_EQ(staff.middleCY(), c.middleC) << "clef " << c.clef;
        EXPECT_EQ(staff.note(kMiddleC, 200).y, c.middleC);
    }
    keys.SetClef(0);
    const StaffLayout treble(keys, kMiddle);
    const StaffLayout::NoteGlyph a4 = treble.note(kA4, 200);
    EXPECT_EQ(a4.y, kMiddle + 4); // the second space from the top line
    EXPECT_EQ(a4.headX, 196);
    EXPECT_EQ(a4.headY, kMiddle + 1);
    EXPECT_EQ(a4.accidental, Accidental::None);
    EXPECT_TRUE(a4.ledgerYs.empty());
    EXPECT_EQ(treble.lineY(0), kMiddle - 16);
    EXPECT_EQ(treble.lineY(4), kMiddle + 16);
}

TEST(StaffLayout, LedgerLinesRunFromTheStaffToTheNote)
{
    KeyContext keys;
    const StaffLayout treble(keys, kMiddle);
    EXPECT_EQ(treble.note(kMiddleC, 0).ledgerYs, (std::vector<int> { kMiddle + 24 }));
    EXPECT_EQ(treble.note(kC6, 0).ledgerYs, (std::vector<int> { kMiddle - 24, kMiddle - 32 }));
    const StaffLayout::NoteGlyph low = treble.note(kE2, 0); // on the seventh ledger line below
    EXPECT_EQ(low.y, kMiddle + 24 + 4 * 12);
    EXPECT_EQ(low.ledgerYs.size(), 7u);
    EXPECT_EQ(low.ledgerYs.back(), kMiddle + 72);
}

TEST(StaffLayout, NotesBeyondThePaneAreDrawnAnOctaveOrTwoNearerWithTheirSign)
{
    KeyContext keys;
    const StaffLayout treble(keys, kMiddle);
    constexpr int kReach = 52;
    const StaffLayout::NoteGlyph c4 = treble.noteWithin(kMiddleC, 0, kReach);
    EXPECT_EQ(c4.octavesMoved, 0);
    EXPECT_EQ(c4.y, kMiddle + 24);
    // E2 lies 72 pixels below the middle line; an octave up it is 44, on the third ledger line.
    const StaffLayout::NoteGlyph e2 = treble.noteWithin(kE2, 0, kReach);
    EXPECT_EQ(e2.octavesMoved, 1);
    EXPECT_EQ(e2.y, kMiddle + 44);
    EXPECT_EQ(e2.ledgerYs.size(), 3u);
    // A0 two octaves up, and no further even where that is not enough.
    EXPECT_EQ(treble.noteWithin(0, 0, kReach).octavesMoved, 2);
    EXPECT_EQ(treble.noteWithin(0, 0, 0).octavesMoved, 2);
    // C7 in the bass clef, two octaves down; C6 in the treble clef stays.
    EXPECT_EQ(treble.noteWithin(kC6, 0, kReach).octavesMoved, 0);
    ASSERT_TRUE(keys.SetClef(3));
    const StaffLayout bass(keys, kMiddle);
    const StaffLayout::NoteGlyph c7 = bass.noteWithin(kC6 + 12, 0, kReach);
    EXPECT_EQ(c7.octavesMoved, -2);
    EXPECT_EQ(c7.y, kMiddle - 24 - 7 * 12 + 56);
}

TEST(StaffLayout, AccidentalsAndKeySignaturesSitBesideTheirLines)
{
    KeyContext keys;
    const StaffLayout cMajor(keys, kMiddle);
    const StaffLayout::NoteGlyph fSharp = cMajor.note(kFSharp4, 200);
    EXPECT_EQ(fSharp.accidental, Accidental::Sharp);
    EXPECT_EQ(fSharp.accidentalX, 183);
    EXPECT_EQ(fSharp.accidentalTop, fSharp.y - 11);
    const StaffLayout::NoteGlyph dFlat = cMajor.note(kDFlat4, 200);
    EXPECT_EQ(dFlat.accidental, Accidental::Flat);
    EXPECT_EQ(dFlat.accidentalTop, dFlat.y - 16);
    EXPECT_TRUE(cMajor.keySignature().empty());

    ASSERT_TRUE(keys.SetKey(9)); // D major: F# and C#
    const StaffLayout dMajor(keys, kMiddle);
    const auto sharps = dMajor.keySignature();
    ASSERT_EQ(sharps.size(), 2u);
    EXPECT_EQ(sharps[0].x, 30);
    EXPECT_EQ(sharps[1].x, 40);
    EXPECT_EQ(sharps[0].top, kMiddle - 4 * keys.SharpStep(1) - 11);
    EXPECT_EQ(dMajor.note(kFSharp4, 200).accidental, Accidental::None); // in the signature

    ASSERT_TRUE(keys.SetKey(6)); // F major: Bb
    const StaffLayout fMajor(keys, kMiddle);
    const auto flats = fMajor.keySignature();
    ASSERT_EQ(flats.size(), 1u);
    EXPECT_EQ(flats[0].sign, Accidental::Flat);
    EXPECT_EQ(flats[0].top, kMiddle - (4 * keys.FlatStep(1) + 16));
    const StaffLayout::NoteGlyph b = fMajor.note(kA4 + 2, 200); // B natural against the Bb
    EXPECT_EQ(b.accidental, Accidental::Natural);
    EXPECT_EQ(b.accidentalTop, b.y - 11);
}
