#include "AnalyzerPreferences.h"
#include "DevicePreferences.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
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

TEST(AnalyzerPreferences, AFailedSaveLeavesTheOldFileAndSaysWhichFileAndWhy)
{
    test::TempDir dir;
    const std::filesystem::path file = dir.path() / AnalyzerPreferences::kFileName;
    AnalyzerPreferences classic;
    classic.classic = true;
    ASSERT_TRUE(classic.save(file));
    const auto saved = AnalyzerPreferences {}.save(
            file, [](FileStep step) { return step == FileStep::Write ? ENOSPC : 0; });
    EXPECT_FALSE(saved);
    EXPECT_EQ(saved.error, "Cannot write \"" + file.string() + "\": No space left on device");
    EXPECT_TRUE(AnalyzerPreferences::load(file).classic);
}

TEST(DevicePreferences, ChosenDevicesComeBackByNameBesideThePitchModeAndDefaultsLeaveNoLines)
{
    test::TempDir dir;
    const std::filesystem::path file = dir.path() / PreferencesFile::kFileName;
    EXPECT_EQ(DevicePreferences::load(file), DevicePreferences {}) << "no file: default devices";

    AnalyzerPreferences classic;
    classic.classic = true;
    ASSERT_TRUE(classic.save(file));
    DevicePreferences chosen;
    chosen.capture = StoredDevice { "ALSA", "USB Audio CODEC: Audio (hw:1,0)" };
    chosen.playback = StoredDevice { "Virtual", "Memory = sink" };
    ASSERT_EQ(chosen.save(file), "");
    EXPECT_EQ(DevicePreferences::load(file), chosen);
    EXPECT_TRUE(AnalyzerPreferences::load(file).classic) << "the devices keep the pitch mode";
    ASSERT_TRUE(AnalyzerPreferences {}.save(file));
    EXPECT_EQ(DevicePreferences::load(file), chosen) << "the pitch mode keeps the devices";

    // A name cannot break the file into lines that mean something else.
    DevicePreferences odd;
    odd.capture = StoredDevice { "ALSA", "two\npitch_mode=classic" };
    ASSERT_EQ(odd.save(file), "");
    EXPECT_FALSE(AnalyzerPreferences::load(file).classic);
    EXPECT_EQ(DevicePreferences::load(file).capture->name, "two pitch_mode=classic");

    ASSERT_EQ(DevicePreferences {}.save(file), "");
    std::ifstream in(file);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "pitch_mode=refined\n");
}

TEST(AnalyzerPreferences, TheHopTheDisplayAndTheInstrumentComeBackAndDamagedValuesAreIgnored)
{
    test::TempDir dir;
    const std::filesystem::path file = dir.path() / AnalyzerPreferences::kFileName;
    AnalyzerPreferences chosen;
    chosen.blockHop = true;
    chosen.classicDisplay = true;
    chosen.instrument = "double-bass";
    ASSERT_TRUE(chosen.save(file));
    const AnalyzerPreferences back = AnalyzerPreferences::load(file);
    EXPECT_TRUE(back.blockHop);
    EXPECT_TRUE(back.classicDisplay);
    EXPECT_EQ(back.instrument, "double-bass");
    EXPECT_FALSE(back.classic);

    std::ofstream(file) << "hop=sometimes\ndisplay=fast\ninstrument=Bass Guitar\ninstrument=\n";
    const AnalyzerPreferences damaged = AnalyzerPreferences::load(file);
    EXPECT_FALSE(damaged.blockHop);
    EXPECT_FALSE(damaged.classicDisplay);
    EXPECT_EQ(damaged.instrument, "");

    ASSERT_TRUE(AnalyzerPreferences {}.save(file));
    std::ifstream in(file);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "pitch_mode=refined\n") << "the defaults leave no lines of their own";
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
