#include "TempBandFiles.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

using namespace corvane;
using corvane::test::TempDir;

TEST(TempBandFiles, NineFilesAreTruncatedAndFilledPerBand)
{
    TempDir dir;
    EXPECT_STREQ(TempBandFiles::fileName(0), "tnrk0000.tmp");
    EXPECT_STREQ(TempBandFiles::fileName(8), "tnrk0008.tmp");

    TempBandFiles files;
    const std::vector<float> block(64, 0.25f);
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(files.openForWriting(dir.path()));
        for (int i = 0; i < TempBandFiles::kFileCount; ++i)
            files.write(i, block.data(), static_cast<std::size_t>(i + 1));
        EXPECT_TRUE(files.close());
        EXPECT_FALSE(files.writeFailed());
    }
    // The second analysis replaced the first one's contents.
    for (int i = 0; i < TempBandFiles::kFileCount; ++i)
        EXPECT_EQ(std::filesystem::file_size(TempBandFiles::filePath(dir.path(), i)),
                  static_cast<std::uintmax_t>(4 * (i + 1)));
}

TEST(TempBandFiles, AFileThatCannotBeOpenedClosesTheOthersAndIsNamed)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "tnrk0004.tmp");
    TempBandFiles files;
    EXPECT_FALSE(files.openForWriting(dir.path()));
    EXPECT_FALSE(files.isOpen());
    EXPECT_NE(files.failedName().find("tnrk0004.tmp"), std::string::npos);

    // Nothing is written anywhere while closed.
    const float value = 1.0f;
    files.write(0, &value, 1);
    EXPECT_EQ(std::filesystem::file_size(dir / "tnrk0000.tmp"), 0u);

    EXPECT_FALSE(files.openForWriting(dir / "no-such-folder"));
}
