#include "ScalaScale.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

using namespace corvane;

namespace {

// Five-limit just intonation, ratios and one pitch in cents, with the comments Scala files carry.
constexpr const char *kJust = "! just.scl\n"
                              "!\n"
                              "5-limit just intonation\n"
                              " 12\n"
                              "!\n"
                              "16/15\n9/8\n6/5\n5/4   major third\n4/3\n45/32\n701.955\n"
                              "8/5\n5/3\n9/5\n15/8\n2\n";

std::string errorOf(const std::variant<ScalaScale, std::string> &parsed)
{
    return std::holds_alternative<std::string>(parsed) ? std::get<std::string>(parsed) : "";
}

} // namespace

TEST(ScalaScale, ATwelveNoteScaleBecomesTheOffsetsOfItsDegrees)
{
    const auto parsed = ScalaScale::parse(kJust);
    ASSERT_TRUE(std::holds_alternative<ScalaScale>(parsed)) << errorOf(parsed);
    const ScalaScale &scale = std::get<ScalaScale>(parsed);
    EXPECT_EQ(scale.description, "5-limit just intonation");
    ASSERT_EQ(scale.cents.size(), 12u);
    EXPECT_NEAR(scale.cents.back(), 1200.0, 1e-9);

    const auto offsets = scale.degreeOffsets();
    ASSERT_TRUE(std::holds_alternative<DegreeCents>(offsets));
    const DegreeCents &cents = std::get<DegreeCents>(offsets);
    const double expected[12] = { 0.0,    11.731, 3.910,  15.641,  -13.686, -1.955,
                                  -9.776, 1.955,  13.686, -15.641, 17.596,  -11.731 };
    for (int degree = 0; degree < 12; ++degree)
        EXPECT_NEAR(cents[std::size_t(degree)], expected[degree], 0.001) << "degree " << degree;
}

TEST(ScalaScale, WhatIsNotAScaleOrDoesNotFitTheWheelsIsRefusedWithTheReason)
{
    EXPECT_EQ(errorOf(ScalaScale::parse("! nothing but comments\n")),
              "line 2: not a Scala scale: the file ends before the number of notes");
    EXPECT_EQ(errorOf(ScalaScale::parse("d\ntwelve\n")),
              "line 2: \"twelve\" is not the number of notes");
    EXPECT_EQ(errorOf(ScalaScale::parse("d\n3\n9/8\n5/0\n2/1\n")),
              "line 4: \"5/0\" is not a pitch");
    EXPECT_EQ(errorOf(ScalaScale::parse("d\n3\n9/8\n-5/4\n2/1\n")),
              "line 4: \"-5/4\" is not a pitch");
    EXPECT_EQ(errorOf(ScalaScale::parse("d\n3\n9/8\n")),
              "line 4: the file ends after 1 of the 3 notes it names");

    const auto pentatonic = ScalaScale::parse("d\n5\n9/8\n5/4\n3/2\n5/3\n2/1\n");
    ASSERT_TRUE(std::holds_alternative<ScalaScale>(pentatonic));
    const auto refused = std::get<ScalaScale>(pentatonic).degreeOffsets();
    ASSERT_TRUE(std::holds_alternative<std::string>(refused));
    EXPECT_EQ(std::get<std::string>(refused),
              "it has 5 notes repeating at 1200.000 cents; the twelve wheels take a scale of "
              "twelve notes to the octave (1200 cents)");

    // Twelve notes, but the fifth in the place of the second degree.
    std::string skewed = "d\n12\n3/2\n";
    for (int degree = 2; degree <= 11; ++degree)
        skewed += std::to_string(100 * degree) + ".0\n";
    skewed += "2/1\n";
    const auto far = std::get<ScalaScale>(ScalaScale::parse(skewed)).degreeOffsets();
    ASSERT_TRUE(std::holds_alternative<std::string>(far));
    EXPECT_EQ(std::get<std::string>(far).rfind("its note 1 lies +602.0 cents", 0), 0u);
}
