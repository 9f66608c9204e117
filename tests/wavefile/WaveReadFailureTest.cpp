#include "WaveFile.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

using namespace corvane;

// A folder named like a recording, and a file whose every read fails at the disk (reading this
// process's memory from address 0 gives EIO): both must come back as codes, never as an
// exception escaping a function that promised not to throw.
TEST(WaveReader, aFolderOrAFileThatCannotBeReadIsACodeWithItsCause)
{
    test::TempDir dir;
    const auto folder = dir / "take1.wav";
    std::filesystem::create_directory(folder);
    WaveReader reader;
    EXPECT_EQ(OpenWaveForReading(folder, reader), WAVE_ERR_OPEN);
    EXPECT_EQ(reader.systemError(), EISDIR);
    EXPECT_FALSE(reader.isOpen());

    if (std::filesystem::exists("/proc/self/mem")) {
        EXPECT_EQ(OpenWaveForReading("/proc/self/mem", reader), RIFF_ERR_CANNOT_READ);
        EXPECT_NE(reader.systemError(), 0);
    }

    EXPECT_EQ(OpenWaveForReading(dir / "missing.wav", reader), WAVE_ERR_OPEN);
    EXPECT_EQ(reader.systemError(), ENOENT);
}

// A block that could not be stored is taken back whole; once the disk has room again the
// following blocks land where it would have gone and the file's sizes count only what is in it.
TEST(RiffFile, aBlockTakenBackLeavesNoTraceAndTheNextOneFollowsTheLastStoredBlock)
{
    test::TempDir dir;
    const auto path = dir / "blocks.bin";
    RiffFile file;
    ASSERT_EQ(file.open(path, RiffFile::Mode::Create), 0u);
    const std::array<std::byte, 4> a { std::byte('a'), std::byte('a'), std::byte('a'),
                                       std::byte('a') };
    const std::array<std::byte, 4> b { std::byte('b'), std::byte('b'), std::byte('b'),
                                       std::byte('b') };
    ASSERT_EQ(file.write(a), 4u);
    ASSERT_EQ(file.flush(), 0u);
    // The lost block: written, partly stored even, then given up.
    ASSERT_EQ(file.write(b), 4u);
    ASSERT_EQ(file.flush(), 0u);
    ASSERT_EQ(file.discardUnstored(4), 0u);
    EXPECT_EQ(file.position(), 4u);
    ASSERT_EQ(file.write(a), 4u);
    ASSERT_EQ(file.write(b), 4u);
    ASSERT_EQ(file.discardUnstored(10), 0u);
    ASSERT_EQ(file.truncateHere(), 0u);
    ASSERT_EQ(file.close(), 0u);

    std::ifstream in(path, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(content, "aaaaaaaabb");
}
