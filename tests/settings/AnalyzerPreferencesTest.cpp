#include "AnalyzerPreferences.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
