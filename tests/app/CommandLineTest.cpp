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
