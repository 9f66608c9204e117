#include "CommandLine.h"

#include <gtest/gtest.h>

using corvane::CommandLine;

TEST(CommandLine, OptionsThatNeedNoDisplayAreRecognised)
{
    EXPECT_EQ(CommandLine::parse({ "--version" }).action, CommandLine::Action::ShowVersion);
    EXPECT_EQ(CommandLine::parse({ "--list-devices" }).action, CommandLine::Action::ListDevices);
    EXPECT_EQ(CommandLine::parse({ "--help" }).action, CommandLine::Action::ShowHelp);
}

TEST(CommandLine, AFileOpensTheWindowAndAnUnknownOptionIsRefused)
{
    const CommandLine open = CommandLine::parse({ "take1.wav" });
    EXPECT_EQ(open.action, CommandLine::Action::RunWindow);
    ASSERT_EQ(open.files.size(), 1u);
    EXPECT_EQ(open.files[0], "take1.wav");

    const CommandLine bad = CommandLine::parse({ "--frobnicate" });
    EXPECT_EQ(bad.action, CommandLine::Action::Invalid);
    EXPECT_NE(bad.error.find("--frobnicate"), std::string::npos);
}

TEST(CommandLine, AnalyzeTakesAFileAndItsSettingsInEitherForm)
{
    const CommandLine line =
            CommandLine::parse({ "--analyze", "take1.wav", "--notes", "--json", "--filter-length=1",
                                 "--sensitivity", "3", "--lowest", "55", "--highest=880.5",
                                 "--reference", "442", "--noise-threshold", "0.35" });
    ASSERT_EQ(line.action, CommandLine::Action::Analyze) << line.error;
    EXPECT_EQ(line.analyze.file, "take1.wav");
    EXPECT_TRUE(line.analyze.notes);
    EXPECT_TRUE(line.analyze.json);
    EXPECT_EQ(line.analyze.filterLength, 1);
    EXPECT_EQ(line.analyze.sensitivity, 3);
    EXPECT_EQ(line.analyze.lowestHz, 55.0);
    EXPECT_EQ(line.analyze.highestHz, 880.5);
    EXPECT_EQ(line.analyze.referenceHz, 442.0);
    EXPECT_EQ(line.analyze.noiseThreshold, 0.35);
    EXPECT_FALSE(line.analyze.classic);
    EXPECT_TRUE(CommandLine::parse({ "--analyze", "take1.wav", "--classic" }).analyze.classic);

    const CommandLine plain = CommandLine::parse({ "--analyze=take2.wav" });
    ASSERT_EQ(plain.action, CommandLine::Action::Analyze);
    EXPECT_EQ(plain.analyze.file, "take2.wav");
    EXPECT_FALSE(plain.analyze.notes);
    EXPECT_FALSE(plain.analyze.filterLength.has_value());
}

TEST(CommandLine, BadAnalyzeLinesAreRefusedWithAReason)
{
    const std::vector<std::vector<std::string>> bad = {
        { "--analyze" },
        { "--notes" },
        { "take.wav", "--json" },
        { "--analyze", "a.wav", "b.wav" },
        { "--analyze", "a.wav", "--filter-length", "4" },
        { "--analyze", "a.wav", "--sensitivity" },
        { "--analyze", "a.wav", "--lowest", "-3" },
        { "--analyze", "a.wav", "--reference", "440Hz" },
        { "--analyze", "a.wav", "--lowest", "900", "--highest", "800" },
        { "--analyze", "a.wav", "--noise-threshold", "1.5" },
    };
    for (const auto &args : bad) {
        const CommandLine line = CommandLine::parse(args);
        EXPECT_EQ(line.action, CommandLine::Action::Invalid) << args.back();
        EXPECT_FALSE(line.error.empty());
    }
}
