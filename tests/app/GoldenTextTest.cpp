// The comparer of the golden files: what it lets through and what it catches.

#include "GoldenText.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace corvane::test;

namespace {

std::size_t differences(const std::string &golden, const std::string &actual,
                        std::string *report = nullptr)
{
    std::istringstream g(golden), a(actual);
    std::ostringstream out;
    const std::size_t count = compareGolden(g, a, Tolerance {}, out, 2);
    if (report)
        *report = out.str();
    return count;
}

} // namespace

TEST(GoldenText, NumbersAgreeWithinTheToleranceAndWordsExactly)
{
    const std::string golden = "time_s,pitch_hz,note,cents\n0.1000,440.00,A4,-7.9\n"
                               "0.2000,0.00,,\n";
    EXPECT_EQ(differences(golden, golden), 0u);
    // 440.03 lies 0.7e-4 off 440; 0.0000005 is below the floor for numbers near 0.
    EXPECT_EQ(differences(golden,
                          "time_s,pitch_hz,note,cents\n0.1000,440.03,A4,-7.9\n"
                          "0.2000,0.0000005,,\n"),
              0u);
    EXPECT_EQ(differences(golden,
                          "time_s,pitch_hz,note,cents\n0.1000,440.10,A4,-7.9\n"
                          "0.2000,0.00,,\n"),
              1u)
            << "a pitch 2.3e-4 off";
    EXPECT_EQ(differences(golden,
                          "time_s,pitch_hz,note,cents\n0.1000,440.00,Bb4,-7.9\n"
                          "0.2000,0.00,,\n"),
              1u)
            << "another note name";
    EXPECT_EQ(differences(golden,
                          "time_s,pitch_hz,note,cents\n0.1000,440.00,A4,-7.9\n"
                          "0.2000,0.00,,0.0\n"),
              1u)
            << "a cell filled that was empty";
    EXPECT_EQ(differences(golden,
                          "time_s,pitch,note,cents\n0.1000,440.00,A4,-7.9\n"
                          "0.2000,0.00,,\n"),
              1u)
            << "a renamed column";
}

TEST(GoldenText, JsonAndCommentLinesAreComparedWordByWord)
{
    const std::string golden = "# settings: filter_length=3 reference_hz=440\n"
                               "    {\"time_s\": 0.1000, \"note\": \"A4\", \"voiced\": true}\n";
    EXPECT_EQ(differences(golden,
                          "# settings: filter_length=3 reference_hz=440.01\n"
                          "    {\"time_s\": 0.100005, \"note\": \"A4\", \"voiced\": true}\n"),
              0u);
    EXPECT_EQ(differences(golden,
                          "# settings: filter_length=3 reference_hz=442\n"
                          "    {\"time_s\": 0.1000, \"note\": null, \"voiced\": false}\n"),
              2u);
}

TEST(GoldenText, LostOrExtraRowsFailAndTheFirstDifferencesAreShown)
{
    const std::string golden = "a,1\nb,2\nc,3\nd,4\n";
    std::string report;
    EXPECT_EQ(differences(golden, "a,1\nb,2\n", &report), 2u);
    EXPECT_NE(report.find("line 3: missing"), std::string::npos) << report;
    EXPECT_EQ(differences(golden, golden + "e,5\n"), 1u);
    EXPECT_EQ(differences(golden, "a,1,0\nb,9\nc,8\nd,7\n", &report), 4u);
    EXPECT_NE(report.find("line 1: the line goes on\n  golden: a,1\n  actual: a,1,0\n"),
              std::string::npos)
            << report;
    EXPECT_NE(report.find("line 2: \"9\" where the golden file has \"2\" (beyond the tolerance)"),
              std::string::npos)
            << report;
    EXPECT_NE(report.find("... and 2 more differing lines"), std::string::npos) << report;
}
