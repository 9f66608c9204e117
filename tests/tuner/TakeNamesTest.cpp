#include "TakeNames.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

using namespace corvane;
using namespace corvane::tuner;

TEST(TakeNames, TheTakesOfThisSessionAreListedInTheirOrderAndNothingElse)
{
    const test::TempDir dir;
    const auto start = std::chrono::system_clock::now() - std::chrono::minutes(1);
    for (const char *name :
         { "tune0002.wav", "tune0000.wav", "tune0010.wav", "tune0001.wav", "tune12.wav",
           "tunexxxx.wav", "tune-123.wav", "tune99999999999999999999999.wav", "take0003.wav",
           "tune0004.wav.tmp" })
        std::ofstream(dir / name) << "RIFF";
    std::filesystem::create_directory(dir / "tune0005.wav");
    // Recorded in an earlier session.
    std::filesystem::last_write_time(dir / "tune0000.wav",
                                     std::chrono::file_clock::from_sys(start)
                                             - std::chrono::hours(24));

    const auto takes = takesSince(dir.path(), std::chrono::system_clock::to_time_t(start));
    ASSERT_EQ(takes.size(), 3u);
    EXPECT_EQ(takes[0], dir / "tune0001.wav");
    EXPECT_EQ(takes[1], dir / "tune0002.wav");
    EXPECT_EQ(takes[2], dir / "tune0010.wav");

    // The next one never replaces any of them, an earlier session's included.
    EXPECT_EQ(nextFreeTake(dir.path()), dir / "tune0003.wav");
    EXPECT_TRUE(takesSince(dir / "missing", 0).empty());
}
