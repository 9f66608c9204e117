#include "CPitch.h"
#include "CTCDefs.h"
#include "KeyContext.h"
#include "StaffLetters.h"
#include "KeyTables.h"

#include <gtest/gtest.h>

#include <string>

using namespace corvane;
using namespace corvane::testing;

namespace {

// The pitch class a spelling names ("Bbb" = A, "E#" = F).
int SpelledPitchClass(std::string_view name)
{
    int pc = NaturalPitchClass(name[0]);
    for (char c : name.substr(1))
        pc += c == '#' ? 1 : -1;
    return Mod(pc, 12);
}

// Alteration the key signature gives a letter: the first sharps are F C G D A E B, the first
// flats B E A D G C F.
int SignatureAlteration(int key, char letter)
{
    const std::string_view sharps = "FCGDAEB", flats = "BEADGCF";
    if (sharps.substr(0, SignatureSharpCount(key)).find(letter) != std::string_view::npos)
        return 1;
    if (flats.substr(0, SignatureFlatCount(key)).find(letter) != std::string_view::npos)
        return -1;
    return 0;
}

} // namespace

TEST(KeyContext, EveryWrittenAndTranspositionKeySoundsOnTheTransposedTonic)
{
    KeyContext context;
    for (int written = 0; written < kKeyCount; ++written) {
        for (int transpose = 0; transpose < kKeyCount; ++transpose) {
            ASSERT_TRUE(context.SetKey(written));
            ASSERT_TRUE(context.SetTransposition(transpose, 0));
            const int sounding = context.SoundingKey();
            ASSERT_TRUE(IsKeyIndex(sounding)) << written << " " << transpose;
            EXPECT_EQ(KeyTonic(sounding),
                      Mod(KeyTonic(written) + TranspositionInterval(transpose), 12))
                    << "written " << written << ", transposition " << transpose;
            EXPECT_EQ(context.DegreePitchClass(0), KeyTonic(sounding));
        }
    }
}

TEST(KeyContext, SoundingKeysThatLeaveTheCircleKeepTheirTonic)
{
    KeyContext context;
    context.SetKey(14);                   // C#
    context.SetTransposition(11, 0);      // E instrument
    EXPECT_EQ(context.SoundingKey(), 6);  // F, not Ab
    context.SetKey(1);                    // Gb
    context.SetTransposition(5, 0);       // Bb instrument
    EXPECT_EQ(context.SoundingKey(), 11); // E, not C#
    context.SetKey(7);
    EXPECT_EQ(context.SoundingKey(), 5); // Bb
    EXPECT_EQ(context.DegreePitchClass(0), 1);
}

TEST(KeyContext, DegreesAndNotesMapBothWaysInTheSoundingKey)
{
    KeyContext context;
    EXPECT_EQ(context.DegreePitchClass(0), 3); // C
    EXPECT_EQ(context.DegreePitchClass(9), 0); // La = A
    for (int written = 0; written < kKeyCount; ++written) {
        context.SetKey(written);
        context.SetTransposition((written * 4) % kKeyCount, 0);
        for (int degree = 0; degree < kDegreeCount; ++degree)
            for (int octave = 0; octave < 8; ++octave)
                EXPECT_EQ(context.DegreeOfNote(context.DegreePitchClass(degree) + 12 * octave),
                          degree);
    }
}

TEST(KeyContext, SpellingStaffStepAndAccidentalNameTheSamePitchInEveryKey)
{
    for (int key = 0; key < kKeyCount; ++key) {
        for (int degree = 0; degree < kDegreeCount; ++degree) {
            const std::string_view name = DegreeSpelling(key, degree);
            const char staffLetter = kLetters[Mod(DegreeStaffStep(key, degree), 7)];
            const int pitchClass = Mod(KeyTonic(key) + degree, 12);
            SCOPED_TRACE("key " + std::to_string(key) + " degree " + std::to_string(degree));

            ASSERT_FALSE(name.empty());
            EXPECT_EQ(SpelledPitchClass(name), pitchClass);
            // In B, F# and C# the raised fourth is spelled as the lowered fifth while the staff
            // draws it on the fourth's letter.
            if (degree == 6 && key >= 12)
                EXPECT_EQ(name[0], kLetters[Mod(DegreeStaffStep(key, degree) + 1, 7)]);
            else
                EXPECT_EQ(name[0], staffLetter);

            const Accidental sign = DegreeAccidental(key, degree);
            const int alteration = sign == Accidental::None ? SignatureAlteration(key, staffLetter)
                                                            : Alteration(sign);
            EXPECT_EQ(Mod(NaturalPitchClass(staffLetter) + alteration, 12), pitchClass);
        }
    }
}

TEST(KeyContext, StaffStepsCountLettersFromWrittenMiddleC)
{
    KeyContext context;
    EXPECT_EQ(context.StaffStep(39), 0);
    EXPECT_EQ(context.StaffStep(48), 5);
    context.SetKey(10); // A
    EXPECT_EQ(context.StaffStep(48), 5);
    context.SetKey(0); // Cb
    EXPECT_EQ(context.StaffStep(50), 7);
    EXPECT_EQ(context.AccidentalOf(50), Accidental::None);

    // Walking up the chromatic scale from the bottom, each written note is at most one letter
    // above the last and the octave adds seven, in every key.
    for (int key = 0; key < kKeyCount; ++key) {
        context.SetKey(key);
        for (int i = 1; i < CPitch::kNoteCount; ++i) {
            const int rise = context.StaffStep(i) - context.StaffStep(i - 1);
            EXPECT_TRUE(rise >= 0 && rise <= 1) << "key " << key << " note " << i;
        }
        for (int i = 12; i < CPitch::kNoteCount; ++i)
            EXPECT_EQ(context.StaffStep(i) - context.StaffStep(i - 12), 7);
    }
}

TEST(KeyContext, WrittenNotesFollowTheTranspositionAndStayInTheTable)
{
    KeyContext context;
    context.SetTransposition(5, 0); // Bb
    EXPECT_EQ(context.WrittenIndex(46), 48);
    context.SetTransposition(4, -1); // Eb alto
    EXPECT_EQ(context.WrittenIndex(39), 48);
    context.SetTransposition(7, 2);
    EXPECT_EQ(context.WrittenIndex(0), 0);
    context.SetTransposition(7, -2);
    EXPECT_EQ(context.WrittenIndex(96), 96);
    // Staff steps are read from the written note.
    context.SetTransposition(5, 0);
    EXPECT_EQ(context.StaffStep(46), 5);
    EXPECT_EQ(context.AccidentalOf(47), Accidental::Flat); // concert Ab, written Bb in C
}

TEST(KeyContext, StartsFromTheStoredClefAndTranspositionAndKeepsThemStored)
{
    CTCDefs settings;
    settings.SetClef(3);
    settings.SetTransposeKey(5);
    settings.SetTransposeOctave(-1);
    KeyContext context(settings);
    EXPECT_EQ(context.Clef(), 3);
    EXPECT_EQ(context.TransposeKey(), 5);
    EXPECT_EQ(context.TransposeOctave(), -1);

    context.SetClef(1);
    context.SetTransposition(4, -2);
    context.SetKey(9);
    // Refused values change neither the context nor the settings.
    EXPECT_FALSE(context.SetKey(15) || context.SetKey(-1) || context.SetClef(4)
                 || context.SetMode(4) || context.SetTransposition(5, 3)
                 || context.SetTransposition(15, 0));
    EXPECT_EQ(context.Key(), 9);
    EXPECT_EQ(context.Mode(), 0);
    EXPECT_EQ(settings.GetClef(), 1u);
    EXPECT_EQ(settings.GetTransposeKey(), 4u);
    EXPECT_EQ(settings.GetTransposeOctave(), -2);

    // A detached copy keeps the key but its changes stay its own.
    KeyContext copy = context.detached();
    EXPECT_EQ(copy.Key(), 9);
    copy.SetClef(2);
    copy.SetTransposition(7, 0);
    EXPECT_EQ(settings.GetClef(), 1u);
    EXPECT_EQ(settings.GetTransposeKey(), 4u);
}

TEST(KeyContext, StoredValuesOutOfRangeAreTakenAsTheirDefaults)
{
    CTCDefs settings;
    settings.SetClef(9);
    settings.SetTransposeKey(0xFFFFFFFF);
    settings.SetTransposeOctave(-7);
    const KeyContext context(settings);
    EXPECT_EQ(context.Clef(), 0);
    EXPECT_EQ(context.TransposeKey(), 7);
    EXPECT_EQ(context.TransposeOctave(), 0);
    EXPECT_EQ(context.StaffStep(39), 0);
}

TEST(KeyContext, ModesNameTheKeyAndMarkTheirChromaticDegrees)
{
    KeyContext context;
    EXPECT_EQ(context.KeyName(), "C Major");
    context.SetMode(1);
    EXPECT_EQ(context.KeyName(), "C Minor");
    context.SetKey(13);
    EXPECT_EQ(context.KeyName(), "F Sharp Minor");
    EXPECT_EQ(KeyContext::MajorKeyName(0), "C Flat Major");

    // Each scale has seven degrees, and always Do, Re and So.
    for (int mode = 0; mode < kModeCount; ++mode) {
        context.SetMode(mode);
        int inScale = 0;
        for (int degree = 0; degree < kDegreeCount; ++degree)
            inScale += !context.IsChromatic(degree);
        EXPECT_EQ(inScale, 7) << mode;
        EXPECT_FALSE(context.IsChromatic(0) || context.IsChromatic(2) || context.IsChromatic(7));
    }
    context.SetMode(2);
    EXPECT_TRUE(context.IsChromatic(10));
    EXPECT_FALSE(context.IsChromatic(11));
}

TEST(KeyContext, KeySignaturesPlaceEachSignForTheClef)
{
    KeyContext context;
    context.SetClef(3); // bass
    context.SetKey(0);
    EXPECT_EQ(context.FlatCount(), 7);
    EXPECT_EQ(context.SharpCount(), 0);
    EXPECT_EQ(context.FlatStep(7), -5);
    context.SetKey(14);
    EXPECT_EQ(context.SharpCount(), 7);
    EXPECT_EQ(context.SharpStep(1), 2);
    context.SetKey(7);
    EXPECT_EQ(context.SharpCount() + context.FlatCount(), 0);

    // Going from treble to bass clef moves every sign two steps down; alto sits one below
    // treble.
    for (int k = 1; k <= kMaxSignatureCount; ++k) {
        EXPECT_EQ(SignatureFlatStep(3, k), SignatureFlatStep(0, k) - 2) << k;
        EXPECT_EQ(SignatureSharpStep(1, k), SignatureSharpStep(0, k) - 1) << k;
        EXPECT_EQ(SignatureFlatStep(1, k), SignatureFlatStep(0, k) - 1) << k;
    }
}
