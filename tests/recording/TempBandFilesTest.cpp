#include "TempBandFiles.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace corvane;

TEST(TempBandFiles, AFileThatCannotBeOpenedClosesTheOthersAndIsNamed)
{
    test::TempDir dir;
    std::filesystem::create_directory(dir / "tnrk0004.tmp");
    TempBandFiles files;
    EXPECT_FALSE(files.openForWriting(dir.path()));
    EXPECT_FALSE(files.isOpen());
    EXPECT_NE(files.failedName().find("tnrk0004.tmp"), std::string::npos);
    EXPECT_STREQ(TempBandFiles::fileName(8), "tnrk0008.tmp");

    // Nothing is written anywhere while closed.
    const float value = 1.0f;
    files.write(0, &value, 1);
    EXPECT_EQ(std::filesystem::file_size(dir / "tnrk0000.tmp"), 0u);

    EXPECT_FALSE(files.openForWriting(dir / "no-such-folder"));
}
