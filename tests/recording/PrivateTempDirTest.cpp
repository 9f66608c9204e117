#include "PrivateTempDir.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>

using namespace corvane;

namespace {

namespace fs = std::filesystem;

void makeOld(const fs::path &path)
{
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(48));
}

// A folder as a run that was killed leaves it: its band file and its lock file, no lock held.
fs::path leftover(const fs::path &base, const std::string &name, bool withLock = true)
{
    const fs::path dir = base / name;
    fs::create_directory(dir);
    std::ofstream(dir / "tnrk0000.tmp") << "band";
    if (withLock)
        std::ofstream(dir / PrivateTempDir::kLockFile);
    makeOld(dir);
    return dir;
}

} // namespace

TEST(PrivateTempDir, LivesWhileItsOwnerDoesAndTakesItsFilesAlong)
{
    test::TempDir base;
    fs::path made;
    {
        PrivateTempDir dir(base.path());
        ASSERT_TRUE(dir.valid());
        made = dir.path();
        EXPECT_EQ(made.parent_path(), base.path());
        EXPECT_EQ(made.filename().string().rfind("tonrik-", 0), 0u);
        std::ofstream(made / "tnrk0008.tmp") << "signal";
        EXPECT_TRUE(fs::exists(made / PrivateTempDir::kLockFile));
    }
    EXPECT_FALSE(fs::exists(made));
}

// Only what a killed run left a day ago goes: never a folder a live run holds (however old it
// looks), a young one, one by another name, or a link to somewhere else.
TEST(PrivateTempDir, LeftoversOlderThanADayAndNotInUseAreRemoved)
{
    test::TempDir base;
    const fs::path killed = leftover(base.path(), "tonrik-Ab3xY9");
    const fs::path beforeLocks = leftover(base.path(), "tonrik-Qq1234", false);
    const fs::path young = leftover(base.path(), "tonrik-young1");
    fs::last_write_time(young, fs::file_time_type::clock::now());
    const fs::path otherName = leftover(base.path(), "tonrik-notours");
    const fs::path target = leftover(base.path(), "elsewhere");
    fs::create_directory_symlink(target, base.path() / "tonrik-link01");

    auto live = std::make_unique<PrivateTempDir>(base.path());
    ASSERT_TRUE(live->valid());
    makeOld(live->path());

    EXPECT_EQ(PrivateTempDir::removeStale(base.path()), 2);
    EXPECT_FALSE(fs::exists(killed));
    EXPECT_FALSE(fs::exists(beforeLocks));
    EXPECT_TRUE(fs::exists(young / "tnrk0000.tmp"));
    EXPECT_TRUE(fs::exists(otherName / "tnrk0000.tmp"));
    EXPECT_TRUE(fs::exists(target / "tnrk0000.tmp"));
    EXPECT_TRUE(fs::is_symlink(base.path() / "tonrik-link01"));
    EXPECT_TRUE(fs::exists(live->path() / PrivateTempDir::kLockFile));

    // Once its run has ended the folder is gone by its own hand; a sweep finds nothing more.
    const fs::path livePath = live->path();
    live.reset();
    EXPECT_FALSE(fs::exists(livePath));
    EXPECT_EQ(PrivateTempDir::removeStale(base.path()), 0);
    EXPECT_EQ(PrivateTempDir::removeStale(base.path() / "no-such-folder"), 0);
}
