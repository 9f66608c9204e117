#include "KeyboardMap.h"
#include "ScalaTuning.h"
#include "TemperamentCatalog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <variant>

using namespace corvane;

namespace {

// A-based pitch classes of two tonics.
constexpr int kC = 3;
constexpr int kD = 5;

std::string fileText(const std::string &name)
{
    std::ifstream in(std::string(CORVANE_SCALES_DIR) + "/" + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ScalaScale scaleOf(const std::string &text)
{
    auto parsed = ScalaScale::parse(text);
    if (auto *why = std::get_if<std::string>(&parsed))
        ADD_FAILURE() << *why;
    return std::holds_alternative<ScalaScale>(parsed) ? std::get<ScalaScale>(parsed)
                                                      : ScalaScale {};
}

KeyboardMap mapOf(const std::string &text)
{
    auto parsed = KeyboardMap::parse(text);
    if (auto *why = std::get_if<std::string>(&parsed))
        ADD_FAILURE() << *why;
    return std::holds_alternative<KeyboardMap>(parsed) ? std::get<KeyboardMap>(parsed)
                                                       : KeyboardMap {};
}

std::string mapError(const std::string &text)
{
    auto parsed = KeyboardMap::parse(text);
    return std::holds_alternative<std::string>(parsed) ? std::get<std::string>(parsed) : "";
}

// A map of the usual kind: twelve keys each on its degree, the 1/1 on `middle`, `reference` at
// `hz`.
std::string standardMap(int middle, int reference, double hz)
{
    std::string text = "! std.kbm\n12\n0\n127\n" + std::to_string(middle) + "\n"
            + std::to_string(reference) + "\n" + std::to_string(hz) + "\n12\n";
    for (int key = 0; key < 12; ++key)
        text += std::to_string(key) + "\n";
    return text;
}

} // namespace

// The example scales are written from the published definitions of each temperament; the
// catalog keeps whole cents, so each degree agrees with it to the rounding, and with the
// definition itself to 0.01 cent.
TEST(ScalaTuning, TheExampleScalesAreTheTemperamentsTheyName)
{
    struct Example
    {
        const char *file;
        const char *catalogName; // empty: the catalog has no row of that name
        DegreeCents published;
    };
    const Example examples[] = {
        { "werckmeister3.scl",
          "Werckmeister III",
          { 0, -9.775f, -7.820f, -5.865f, -9.775f, -1.955f, -11.730f, -3.910f, -7.820f, -11.730f,
            -3.910f, -7.820f } },
        { "meantone-quarter-comma.scl",
          "1/4 comma Meantone",
          { 0, -23.951f, -6.843f, 10.265f, -13.686f, 3.422f, -20.529f, -3.422f, -27.373f, -10.265f,
            6.843f, -17.108f } },
        { "vallotti.scl",
          "",
          { 0, -5.865f, -3.910f, -1.955f, -7.820f, 1.955f, -7.820f, -1.955f, -3.910f, -5.865f, 0,
            -9.775f } },
        { "just-5-limit.scl",
          "",
          { 0, 11.731f, 3.910f, 15.641f, -13.686f, -1.955f, -9.776f, 1.955f, 13.686f, -15.641f,
            17.596f, -11.731f } },
    };
    for (const Example &example : examples) {
        const std::string text = fileText(example.file);
        ASSERT_FALSE(text.empty()) << example.file;
        const auto tuning = ScalaTuning::of(scaleOf(text), nullptr, kC);
        ASSERT_TRUE(std::holds_alternative<ScalaTuning>(tuning)) << example.file;
        const ScalaTuning &scale = std::get<ScalaTuning>(tuning);
        EXPECT_FALSE(scale.referenceHz);
        const Temperament *row = nullptr;
        for (const Temperament &temperament : TemperamentCatalog())
            if (temperament.name == example.catalogName)
                row = &temperament;
        EXPECT_EQ(row != nullptr, *example.catalogName != '\0') << example.catalogName;
        if (row) {
            EXPECT_EQ(scale.name, row->name);
        }
        for (std::size_t degree = 0; degree < 12; ++degree) {
            EXPECT_NEAR(scale.offsets[degree], example.published[degree], 0.01)
                    << example.file << " degree " << degree;
            if (row) {
                EXPECT_EQ(std::lround(scale.offsets[degree]), std::lround(row->cents[degree]))
                        << example.file << " degree " << degree;
            }
        }
    }
}

TEST(ScalaTuning, TheMapPutsTheScaleOnItsMiddleNoteAndAnchorsTheReference)
{
    const ScalaScale werckmeister = scaleOf(fileText("werckmeister3.scl"));
    // The 1/1 on C (MIDI 60), A4 at 440 Hz: in C the degrees are the file's; A sounds at 440, so
    // the note table's A4 lies 11.73 cents above it.
    KeyboardMap map = mapOf(standardMap(60, 69, 440.0));
    auto tuned = std::get<ScalaTuning>(ScalaTuning::of(werckmeister, &map, kC));
    EXPECT_NEAR(tuned.offsets[9], -11.730, 0.01);
    ASSERT_TRUE(tuned.referenceHz);
    EXPECT_NEAR(1200.0 * std::log2(*tuned.referenceHz / 440.0), 11.730, 0.01);

    // Played in D, the scale stays on C: D's own degree 0 gets the scale's D (-7.82), and its
    // "La" (B) the scale's B.
    tuned = std::get<ScalaTuning>(ScalaTuning::of(werckmeister, &map, kD));
    EXPECT_NEAR(tuned.offsets[0], -7.820, 0.01);
    EXPECT_NEAR(tuned.offsets[9], -7.820, 0.01);
    EXPECT_NEAR(tuned.offsets[10], 0.0, 0.01); // C

    // The 1/1 on D with C4 at 261 Hz: C is the scale's 10th step (16/9, -3.91 cents).
    map = mapOf(standardMap(62, 60, 261.0));
    tuned = std::get<ScalaTuning>(ScalaTuning::of(werckmeister, &map, kC));
    EXPECT_NEAR(tuned.offsets[2], 0.0, 0.01);
    EXPECT_NEAR(tuned.offsets[0], -3.910, 0.01);
    const double c4 = *tuned.referenceHz * std::exp2((-9.0 + tuned.offsets[0] / 100.0) / 12.0);
    EXPECT_NEAR(c4, 261.0, 1e-9);

    // A linear map (size 0) with "x" keys is the same layout.
    const KeyboardMap linear = mapOf("0\n0\n127\n60\n69\n440.0\n0\n");
    EXPECT_TRUE(std::holds_alternative<ScalaTuning>(ScalaTuning::of(werckmeister, &linear, kC)));
}

TEST(ScalaTuning, MapsThatDoNotLayOneDegreePerKeyAreRefusedWithTheReason)
{
    const ScalaScale just = scaleOf(fileText("just-5-limit.scl"));
    const auto refusal = [&just](const std::string &text) {
        const KeyboardMap map = mapOf(text);
        const auto tuned = ScalaTuning::of(just, &map, kC);
        return std::holds_alternative<std::string>(tuned) ? std::get<std::string>(tuned) : "";
    };
    EXPECT_NE(refusal("7\n0\n127\n60\n69\n440\n7\n0\n1\n2\n3\n4\n5\n6\n").find("has 7 keys"),
              std::string::npos);
    std::string swapped = standardMap(60, 69, 440.0);
    swapped.replace(swapped.rfind("\n1\n"), 3, "\n2\n");
    EXPECT_NE(refusal(swapped).find("key 1 plays degree 2"), std::string::npos) << refusal(swapped);
    std::string silent = standardMap(60, 69, 440.0);
    silent.replace(silent.rfind("\n1\n"), 3, "\nx\n");
    EXPECT_EQ(refusal(silent), "");
    EXPECT_NE(refusal("0\n0\n127\n60\n69\n440\n7\n").find("degree 7 as the octave"),
              std::string::npos);
}

TEST(KeyboardMap, MalformedMapsNameTheLine)
{
    EXPECT_EQ(mapError("! only\n12\n0\n127\n60\n69\n0\n"),
              "line 7: \"0\" is not a frequency in Hz above 0");
    EXPECT_EQ(mapError("12\n0\n200\n"), "line 3: \"200\" is not the last MIDI note (0 to 127)");
    EXPECT_EQ(mapError("12\n0\n127\n60\n"),
              "line 5: the file ends where the reference note (0 to 127) should be");
    EXPECT_EQ(mapError("2\n0\n127\n60\n69\n440.0 Hz, a comment\n12\n0\n"),
              "line 9: the file ends after 1 of the 2 keys of the map");
    EXPECT_EQ(mapError("1\n0\n127\n60\n69\n440\n12\n\x01\x02junk\n"),
              "line 8: \"\x01\x02junk\" is neither a scale degree nor \"x\"");
    EXPECT_EQ(mapError("\x7f"
                       "ELF\x02\x01"),
              "line 1: \"\x7f"
              "ELF\x02\x01\" is not the map size (0 to 128)");
}

TEST(ScalaScale, EdgesOfTheFormat)
{
    // Negative cents, a cents value without decimals after the point, text after the value,
    // a blank description and the period as the last line.
    const ScalaScale scale = scaleOf("!\n\n 3\n-10.5 below\n700. fifth\n 2/1 octave\n");
    EXPECT_EQ(scale.description, "");
    ASSERT_EQ(scale.cents.size(), 3u);
    EXPECT_DOUBLE_EQ(scale.cents[0], -10.5);
    EXPECT_DOUBLE_EQ(scale.cents[1], 700.0);
    EXPECT_DOUBLE_EQ(scale.cents[2], 1200.0);
    // A binary file's junk names its line; control characters never reach a name.
    const auto junk = ScalaScale::parse(std::string("\x01\x02name\n\x03\x04\n", 10));
    ASSERT_TRUE(std::holds_alternative<std::string>(junk));
    EXPECT_EQ(std::get<std::string>(junk).rfind("line 2:", 0), 0u);
    EXPECT_EQ(scaleOf("a\tb\x07\n1\n2/1\n").description, "a?b?");
}
