#include "CPitch.h"
#include "CTCDefs.h"
#include "KeyContext.h"
#include "TemperamentCatalog.h"
#include "Tuning.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace corvane;

namespace {

const Temperament &Row(std::string_view name)
{
    for (const Temperament &row : TemperamentCatalog())
        if (row.name == name)
            return row;
    throw std::invalid_argument("no such temperament");
}

} // namespace

TEST(TemperamentCatalog, HoldsFifteenRowsStartingOnTheTonic)
{
    const auto &catalog = TemperamentCatalog();
    EXPECT_EQ(catalog.front().name, "Equal Temperament");
    EXPECT_EQ(catalog.back().name, "Young");
    for (const Temperament &row : catalog)
        EXPECT_EQ(row.cents[0], 0.0f) << row.name;
    EXPECT_EQ(Row("1/11 comma Meantone").cents, DegreeCents {});

    // The narrower the meantone fraction, the closer every degree stays to equal temperament.
    const std::string_view meantones[] = { "1/3 comma Meantone", "2/7 comma Meantone",
                                           "1/4 comma Meantone", "1/5 comma Meantone",
                                           "1/6 comma Meantone", "1/8 comma Meantone" };
    for (int i = 1; i < 6; ++i)
        for (int degree = 0; degree < 12; ++degree)
            EXPECT_LE(std::abs(Row(meantones[i]).cents[degree]),
                      std::abs(Row(meantones[i - 1]).cents[degree]))
                    << meantones[i] << " " << DegreeSyllable(degree);
}

TEST(TemperamentCatalog, ShowsATemperamentOnOneLine)
{
    EXPECT_EQ(TemperamentLine(Row("Pythagorean Tuning").cents),
              "Do(0)  Ra(14)  Re(4)  Me(-6)  Mi(8)  Fa(-2)  Se(12)  So(2)  Le(16)  La(6)  Te(-4)  "
              "Ti(10)  ");
    DegreeCents typed {};
    typed[1] = -12.9f;
    typed[2] = 12.9f;
    typed[3] = std::numeric_limits<float>::quiet_NaN();
    typed[4] = 1e30f;
    EXPECT_EQ(TemperamentLine(typed).substr(0, 44), "Do(0)  Ra(-12)  Re(12)  Me(0)  Mi(2147483647");
}

class TuningTest : public ::testing::Test
{
protected:
    CPitch pitch;
    KeyContext keys;
    DegreeCents equal {};
    DegreeCents quarterComma = Row("1/4 comma Meantone").cents;
};

TEST_F(TuningTest, QuarterCommaMeantoneIsRootedOnTheSoundingTonic)
{
    EXPECT_DOUBLE_EQ(DegreeToneFreq(pitch, keys, equal, 9, 0), 440.0);
    EXPECT_NEAR(CPitch::Cents(TemperedFreq(pitch, keys, quarterComma, 48), 440.0), -10.0, 1e-9);
    EXPECT_NEAR(CPitch::Cents(TemperedFreq(pitch, keys, quarterComma, 43), pitch.NoteFreq(43)),
                -14.0, 1e-9);

    keys.SetKey(8); // G: a' is Re
    EXPECT_NEAR(CPitch::Cents(TemperedFreq(pitch, keys, quarterComma, 48), 440.0), -7.0, 1e-9);
    // Written F on a D instrument sounds in G too, and must temper exactly alike.
    KeyContext transposed;
    transposed.SetKey(6);
    transposed.SetTransposition(9, 0);
    for (int i = 0; i < CPitch::kNoteCount; ++i)
        EXPECT_EQ(TemperedFreq(pitch, transposed, quarterComma, i),
                  TemperedFreq(pitch, keys, quarterComma, i));
}

TEST_F(TuningTest, DeviationIsMeasuredFromTheTemperedPitch)
{
    EXPECT_NEAR(Deviation(pitch, keys, quarterComma, 440.0, 48), 10.0, 1e-9);
    EXPECT_NEAR(Deviation(pitch, keys, equal, 445.0, 48), CPitch::Cents(445.0, 440.0), 1e-12);
    EXPECT_EQ(Deviation(pitch, keys, quarterComma, 0.0, 48), 0.0);
    EXPECT_EQ(Deviation(pitch, keys, quarterComma, std::nan(""), 48), 0.0);
}

TEST_F(TuningTest, DronesSitInTheOctaveFromAAndMoveByWholeOctaves)
{
    keys.SetTransposition(5, 0); // Bb instrument: Do sounds as Bb
    EXPECT_DOUBLE_EQ(DegreeToneFreq(pitch, keys, equal, 0, 0), pitch.NoteFreq(49));
    for (int degree = 0; degree < 12; ++degree) {
        const double f = DegreeToneFreq(pitch, keys, quarterComma, degree, 0);
        EXPECT_GE(f, CPitch::ApplyCents(440.0, -50));
        EXPECT_LT(f, CPitch::ApplyCents(880.0, 50));
        EXPECT_NEAR(DegreeToneFreq(pitch, keys, quarterComma, degree, -2), f / 4, f * 1e-9);
        EXPECT_NEAR(DegreeToneFreq(pitch, keys, quarterComma, degree, 2), f * 4, f * 1e-9);
        EXPECT_NEAR(DegreeClassFreq(pitch, keys, degree, quarterComma[degree]), f, 1e-9);
    }
    EXPECT_EQ(DegreeToneFreq(pitch, keys, equal, 12, 0), 0.0);
    EXPECT_EQ(DegreeToneFreq(pitch, keys, equal, 0, 99), 0.0);
}

TEST(TuningSettings, ChoosingATemperamentStoresItsNameAndOffsets)
{
    CTCDefs settings;
    ASSERT_TRUE(SelectTemperament(settings, 5));
    EXPECT_EQ(settings.GetTemperamentName(), "1/4 comma Meantone");
    EXPECT_EQ(settings.GetPitchAdjustCents(), Row("1/4 comma Meantone").cents);
    EXPECT_FALSE(SelectTemperament(settings, 15));
    EXPECT_FALSE(SelectTemperament(settings, -1));
    EXPECT_EQ(settings.GetTemperamentName(), "1/4 comma Meantone");

    // A typed value is stored without renaming; a spin step renames.
    ASSERT_TRUE(SetDegreeAdjustment(settings, 9, -12.5f, false));
    EXPECT_EQ(settings.GetTemperamentName(), "1/4 comma Meantone");
    EXPECT_EQ(settings.GetPitchAdjustCents()[9], -12.5f);
    EXPECT_EQ(settings.GetPitchAdjustCents()[8], -27.0f);
    ASSERT_TRUE(SetDegreeAdjustment(settings, 0, 3.0f, true));
    EXPECT_EQ(settings.GetTemperamentName(), "User Defined");
    EXPECT_FALSE(SetDegreeAdjustment(settings, 12, 1.0f, true));
}

TEST(TuningSettings, AReferenceThatIsNotAFrequencyIsRefusedAndThePreviousKept)
{
    CPitch pitch;
    CTCDefs settings;
    ASSERT_TRUE(ChangeReference(pitch, settings, 415.0));
    EXPECT_EQ(settings.GetReferenceHz(), 415.0f);
    EXPECT_EQ(pitch.NoteFreq(48), 415.0);
    // Accepted after the warning: any distance from 440 Hz.
    ASSERT_TRUE(ChangeReference(pitch, settings, 300.0));

    const double inf = std::numeric_limits<double>::infinity();
    for (double hz : { 0.0, -440.0, std::nan(""), inf, 1e40 }) {
        EXPECT_FALSE(ChangeReference(pitch, settings, hz)) << hz;
        EXPECT_EQ(settings.GetReferenceHz(), 300.0f) << hz;
        EXPECT_EQ(pitch.Reference(), 300.0) << hz;
    }
}

// What the dialogs store is what the tuner tempers by: the chosen temperament's offsets and the
// new reference, counted from the tonic of the sounding key.
TEST(TuningSettings, TheStoredOffsetsAndReferenceTemperTheSoundingKey)
{
    CTCDefs settings;
    CPitch pitch;
    KeyContext keys;
    ASSERT_TRUE(SelectTemperament(settings, 5));
    ASSERT_TRUE(ChangeReference(pitch, settings, 442.0));
    keys.SetKey(8);
    keys.SetTransposition(7, 0);
    EXPECT_EQ(settings.GetReferenceHz(), 442.0f);

    const DegreeCents cents = settings.GetPitchAdjustCents();
    const double a4 = TemperedFreq(pitch, keys, cents, 48);
    EXPECT_NEAR(CPitch::Cents(a4, 442.0), -7.0, 1e-9);
    EXPECT_NEAR(Deviation(pitch, keys, cents, 442.0, 48), 7.0, 1e-9);
    EXPECT_NEAR(DegreeToneFreq(pitch, keys, cents, 2, 0), a4, 1e-9);
    EXPECT_NEAR(DegreeClassFreq(pitch, keys, 2, cents[2]), a4, 1e-9);
}
