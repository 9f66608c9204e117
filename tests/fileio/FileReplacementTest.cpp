#include "FileReplacement.h"

#include "CsvText.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace corvane {
namespace {

    std::size_t entriesIn(const std::filesystem::path &folder)
    {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator(folder))
            ++count;
        return count;
    }

    TEST(FileReplacement, ANewFileTakesTheTargetsPlaceWithTheUsualPermissions)
    {
        test::TempDir dir;
        const auto target = dir / "take.wav";
        EXPECT_EQ(replaceFile(target, "first"), "");
        EXPECT_EQ(replaceFile(target, "second, longer"), "");
        EXPECT_EQ(test::fileText(target), "second, longer");
        EXPECT_EQ(entriesIn(dir.path()), 1u) << "no temporary file is left beside the target";
        const mode_t mask = ::umask(0);
        ::umask(mask);
        const auto perms = std::filesystem::status(target).permissions();
        EXPECT_EQ(static_cast<mode_t>(perms), 0666 & ~mask);
    }

    TEST(FileReplacement, AFailureAtAnyStepLeavesTheOldFileAndSaysWhy)
    {
        for (FileStep failing : { FileStep::Create, FileStep::Write, FileStep::Sync,
                                  FileStep::Close, FileStep::Rename }) {
            test::TempDir dir;
            const auto target = dir / "settings.def";
            ASSERT_EQ(replaceFile(target, "the old settings"), "");
            const std::string error = replaceFile(target, "the new settings", [&](FileStep step) {
                return step == failing ? ENOSPC : 0;
            });
            SCOPED_TRACE(static_cast<int>(failing));
            EXPECT_EQ(error, "Cannot write \"" + target.string() + "\": No space left on device");
            EXPECT_EQ(test::fileText(target), "the old settings");
            EXPECT_EQ(entriesIn(dir.path()), 1u);
        }
    }

    TEST(FileReplacement, AFolderThatCannotHoldTheFileIsNamedInTheMessage)
    {
        test::TempDir dir;
        ASSERT_EQ(replaceFile(dir / "plain", "a file, not a folder"), "");
        const auto target = dir / "plain" / "tonrik.prefs";
        EXPECT_EQ(replaceFile(target, "pitch_mode=classic\n"),
                  "Cannot write \"" + target.string() + "\": Not a directory");
    }

    TEST(FileReplacement, AReplacedFileKeepsItsPermissions)
    {
        test::TempDir dir;
        const auto target = dir / "private.def";
        ASSERT_EQ(replaceFile(target, "old"), "");
        std::filesystem::permissions(
                target, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        ASSERT_EQ(replaceFile(target, "new"), "");
        EXPECT_EQ(std::filesystem::status(target).permissions(),
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    }

    TEST(FileReplacement, AProcessKilledWhileSavingLeavesTheOldOrTheNewFileWhole)
    {
        test::TempDir dir;
        const auto target = dir / "recording.wav";
        const std::string oldContents(1 << 20, 'o');
        const std::string newContents(1 << 20, 'n');
        for (int delayMicroseconds : { 0, 200, 1000, 3000, 8000 }) {
            ASSERT_EQ(replaceFile(target, oldContents), "");
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                for (;;) {
                    FileReplacement file(target);
                    for (int piece = 0; piece < 16; ++piece)
                        file.write(std::string_view(newContents).substr(piece << 16, 1 << 16));
                    file.commit();
                }
            }
            ::usleep(static_cast<useconds_t>(delayMicroseconds));
            ::kill(child, SIGKILL);
            int status = 0;
            ::waitpid(child, &status, 0);
            const std::string left = test::fileText(target);
            EXPECT_TRUE(left == oldContents || left == newContents)
                    << "after " << delayMicroseconds << " µs: " << left.size() << " bytes";
        }
    }

} // namespace
} // namespace corvane
