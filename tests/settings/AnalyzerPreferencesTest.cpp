#include "AnalyzerPreferences.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

using namespace corvane;

TEST(AnalyzerPreferences, RefinedUnlessTheFileSaysClassicAndASavedChoiceComesBack)
{
    test::TempDir dir;
    const std::filesystem::path file = dir.path() / AnalyzerPreferences::kFileName;
    EXPECT_FALSE(AnalyzerPreferences::load(file).classic) << "no file";

    AnalyzerPreferences prefs;
    prefs.classic = true;
    ASSERT_TRUE(prefs.save(file));
    EXPECT_TRUE(AnalyzerPreferences::load(file).classic);
    EXPECT_FALSE(std::filesystem::exists(file.string() + ".tmp"));

    // A damaged or unknown line changes nothing; the known one still counts.
    std::ofstream(file) << "pitch_mode=sideways\nsomething=else\r\npitch_mode=classic\r\n";
    EXPECT_TRUE(AnalyzerPreferences::load(file).classic);
    std::ofstream(file) << "pitch_mode=sideways\n";
    EXPECT_FALSE(AnalyzerPreferences::load(file).classic);
}

TEST(AnalyzerPreferences, AFailedSaveLeavesTheOldFile)
{
    test::TempDir dir;
    const std::filesystem::path file = dir.path() / AnalyzerPreferences::kFileName;
    AnalyzerPreferences classic;
    classic.classic = true;
    ASSERT_TRUE(classic.save(file));
    // The temporary file cannot be created where a directory of its name stands.
    std::filesystem::create_directory(file.string() + ".tmp");
    EXPECT_FALSE(AnalyzerPreferences {}.save(file));
    EXPECT_TRUE(AnalyzerPreferences::load(file).classic);
}

TEST(AnalyzerPreferences, ASaveKeepsTheLinesOfKeysItDoesNotKnow)
{
    test::TempDir dir;
    const std::filesystem::path file = dir.path() / AnalyzerPreferences::kFileName;
    std::ofstream(file) << "pitch_mode=classic\nvibrato_window=3\r\n";
    ASSERT_TRUE(AnalyzerPreferences {}.save(file));
    std::ifstream in(file);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "vibrato_window=3\npitch_mode=refined\n");
}
