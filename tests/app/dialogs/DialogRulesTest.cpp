#include "CPitch.h"
#include "KeyDialogRules.h"
#include "KeyTables.h"
#include "PitchDialogRules.h"
#include "StaffLetters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace corvane;
using namespace corvane::testing;

TEST(TranspositionDialog, ShowsTheKeyAndItsTypicalInstruments)
{
    EXPECT_EQ(TranspositionText(5, 0),
              "Transposition: B Flat Major\n\n   typical instruments:\n   "
              "Bb clarinet, Bb soprano saxophone, Bb horn, Bb trumpet, Bb cornet, Bb fluegelhorn");
    EXPECT_EQ(TranspositionText(8, 1), "Transposition: G Major\n\n   typical instruments:\n   ");
    // The table runs from two octaves down to two up; the corners and one row between them.
    EXPECT_EQ(InstrumentText(-2, 14), "have you heard the one about the wide-mouth frog?");
    EXPECT_EQ(InstrumentText(-1, 11), "E horn");
    EXPECT_EQ(InstrumentText(2, 14), "Finland has many reindeer");
    EXPECT_EQ(InstrumentText(3, 7), "");
    EXPECT_EQ(InstrumentText(0, 15), "");
}

TEST(TranspositionDialog, DrawsTheSoundingNoteAsLaidOut)
{
    EXPECT_EQ(WrittenCStep(0), 1);
    EXPECT_EQ(WrittenCStep(3), -1);
    // The sounding note head names the tonic of the transposition key: its letter counted from
    // the written C, altered by the sign drawn beside it.
    for (int key = 0; key < kKeyCount; ++key)
        EXPECT_EQ(Mod(NaturalPitchClass(kLetters[Mod(SoundsAsStep(key), 7)])
                              + Alteration(SoundsAsAccidental(key)),
                      12),
                  KeyTonic(key))
                << key;
    EXPECT_EQ(SoundsAsStep(8), -3); // G is drawn below the written C
    EXPECT_EQ(OctaveLabel(-2), "15mb");
    EXPECT_FALSE(OctaveLabelAbove(-2));
    EXPECT_EQ(OctaveLabel(0), "");
    EXPECT_EQ(StepTransposeKey(14, 1), 14);
    EXPECT_EQ(StepTransposeKey(0, -1), 0);
    EXPECT_EQ(StepTransposeKey(7, -1), 6);
    // Every key has exactly one button, every octave one radio button.
    int keys = 0;
    for (const KeyButton &button : kKeyButtons)
        keys |= 1 << button.key;
    EXPECT_EQ(keys, (1 << kKeyCount) - 1);
    EXPECT_EQ(kKeyButtons[14].text, "Key of Cb");
}
TEST(PitchDialogs, WarnAboutAReferenceFiftyCentsOrMoreFrom440)
{
    EXPECT_EQ(CheckReference(440.0), ReferenceCheck::Accept);
    EXPECT_EQ(CheckReference(452.0), ReferenceCheck::Accept);
    EXPECT_EQ(CheckReference(453.0), ReferenceCheck::Warn);
    EXPECT_EQ(CheckReference(427.0), ReferenceCheck::Warn);
    EXPECT_EQ(CheckReference(CPitch::ApplyCents(440.0, 50.0) * (1 + 1e-12)), ReferenceCheck::Warn);
    EXPECT_EQ(ReferenceDistanceText(452.0), "46 cents");
    EXPECT_EQ(ReferenceDistanceText(427.0), "-51 cents");
    EXPECT_EQ(ReferenceDistanceTypingText(440.0), "0.000 cents");
}

TEST(PitchDialogs, RefuseAReferenceThatIsNotAFrequency)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (double hz : { 0.0, -440.0, std::nan(""), inf, -inf }) {
        EXPECT_EQ(CheckReference(hz), ReferenceCheck::Refuse) << hz;
        EXPECT_EQ(ReferenceDistanceText(hz), "") << hz;
    }
}

// What is typed in a reference field is a plain number of Hz or nothing: "442Hz" is not 442, and
// "440,5" is 440.5 only where the comma is the decimal separator. What is no reference shows no
// distance (never "1200.000 cents", the answer for no pitch).
TEST(PitchDialogs, ATypedReferenceIsAPlainNumberInTheLocalesFormOrNone)
{
    EXPECT_EQ(ParseReferenceHz("440"), 440.0);
    EXPECT_EQ(ParseReferenceHz(" 442.500 "), 442.5);
    EXPECT_EQ(ParseReferenceHz("440."), 440.0);
    EXPECT_EQ(ParseReferenceHz("440,5", ','), 440.5);
    EXPECT_EQ(ParseReferenceHz("440.5", ','), 440.5) << "the field's own form, in every locale";
    for (const char *refused : { "440,5", "442Hz", "442 Hz", "abc", "a440", "", "  ", ".", "+440",
                                 "-440", "4.4e2", "440.5.1", "0x1B8", "inf", "nan" })
        EXPECT_EQ(ParseReferenceHz(refused), std::nullopt) << '"' << refused << '"';
    EXPECT_EQ(ParseReferenceHz("440,5.1", ','), std::nullopt);

    for (const char *typed : { "0", "abc", "", "442Hz", "10000" }) {
        EXPECT_EQ(ReferenceDistanceTypingText(ParseReferenceHz(typed)), "") << typed;
        EXPECT_EQ(ReferenceDistanceText(ParseReferenceHz(typed)), "") << typed;
    }
    EXPECT_EQ(ReferenceDistanceTypingText(ParseReferenceHz("440,0", ',')), "0.000 cents");
}

TEST(PitchDialogs, WarnAboutAnAdjustmentOfFiftyCentsOrMore)
{
    EXPECT_TRUE(AdjustmentNeedsWarning(50.0));
    EXPECT_TRUE(AdjustmentNeedsWarning(-50.0));
    EXPECT_FALSE(AdjustmentNeedsWarning(49.9));
    EXPECT_FALSE(AdjustmentNeedsWarning(-49.9));
    // The spin control stops at the limits; typed values are clamped only for the display.
    EXPECT_EQ(StepAdjustment(49, 1), 50);
    EXPECT_EQ(StepAdjustment(50, 1), 50);
    EXPECT_EQ(StepAdjustment(-50, -1), -50);
    EXPECT_EQ(ClampAdjustment(75.5), 50.0);
    EXPECT_EQ(ClampAdjustment(-12.5), -12.5);
    EXPECT_EQ(FrequencyText(CPitch::ApplyCents(440.0, -10.0)), "437.466Hz");
}

TEST(PitchDialogs, ReadTypedNumbersLikeTheStreamExtraction)
{
    EXPECT_EQ(ParseDecimal("  452.5Hz"), 452.5);
    EXPECT_EQ(ParseDecimal("-7"), -7.0);
    EXPECT_EQ(ParseDecimal("1e2"), 100.0);
    EXPECT_EQ(ParseDecimal(""), 0.0);
    EXPECT_EQ(ParseDecimal("cents"), 0.0);
    EXPECT_EQ(ParseDecimal("1e999"), 0.0);
}
