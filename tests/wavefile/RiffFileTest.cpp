#include "RiffFile.h"

#include "FileBytes.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <array>

using namespace corvane;
using corvane::test::Bytes;

namespace {

std::span<const std::byte> text(std::string_view s)
{
    return std::as_bytes(std::span(s.data(), s.size()));
}

} // namespace

TEST(RiffFile, searchingSkipsOtherChunksWithTheirPadBytesAndStaysInsideTheParent)
{
    test::TempDir dir;
    Bytes().chunk("RIFF",
                  Bytes().tag("TEST")
                          .chunk("odd ", Bytes().tag("xyz"))
                          .chunk("even", Bytes().tag("pq")))
            .chunk("tail", Bytes().tag("zz"))
            .save(dir / "t.riff");

    RiffFile file;
    ASSERT_EQ(file.open(dir / "t.riff", RiffFile::Mode::Read), 0u);
    ChunkInfo riff, found;
    ASSERT_EQ(file.descend(riff), 0u);
    EXPECT_EQ(riff.formType, makeFourCC("TEST"));
    EXPECT_EQ(riff.dataOffset, 8u);

    ASSERT_EQ(file.descendFind(found, makeFourCC("even"), &riff), 0u);
    EXPECT_EQ(found.size, 2u);
    EXPECT_EQ(found.dataOffset, 32u);
    std::array<std::byte, 2> got {};
    EXPECT_EQ(file.read(got), 2u);
    EXPECT_EQ(got[1], std::byte('q'));

    // The chunk behind the RIFF chunk is outside it, but reachable in a search of the file.
    ASSERT_EQ(file.seek(12), 0u);
    EXPECT_EQ(file.descendFind(found, makeFourCC("tail"), &riff), RIFF_ERR_CHUNK_NOT_FOUND);
    ASSERT_EQ(file.seek(riff.dataOffset + riff.size), 0u);
    EXPECT_EQ(file.descendFind(found, makeFourCC("tail")), 0u);

    // Ascending from a chunk read moves behind its content and pad byte.
    ASSERT_EQ(file.seek(12), 0u);
    ASSERT_EQ(file.descend(found), 0u);
    ASSERT_EQ(file.ascend(found), 0u);
    EXPECT_EQ(file.position(), 24u);

    // A header cut short by the end of the file is no chunk.
    ASSERT_EQ(file.seek(42), 0u);
    EXPECT_EQ(file.descend(found), RIFF_ERR_CHUNK_NOT_FOUND);
}

TEST(RiffFile, aChunkPastFourGibibytesIsRefusedRatherThanGivenAWrappedSize)
{
    // A sparse file: the hole costs no disk space.
    test::TempDir dir;
    RiffFile file;
    ASSERT_EQ(file.open(dir / "big.riff", RiffFile::Mode::Create), 0u);
    ChunkInfo chunk;
    ASSERT_EQ(file.createChunk(chunk, makeFourCC("data")), 0u);
    ASSERT_EQ(file.seek(chunk.dataOffset + 0x100000000ull), 0u);
    ASSERT_EQ(file.write(text("x")), 1u);
    EXPECT_EQ(file.ascend(chunk), RIFF_ERR_TOO_LARGE);
    ASSERT_EQ(file.close(), 0u);

    RiffFile again;
    ASSERT_EQ(again.open(dir / "big.riff", RiffFile::Mode::Read), 0u);
    uint32_t size = 1;
    ASSERT_EQ(again.seek(4), 0u);
    ASSERT_EQ(again.readU32(size), 0u);
    EXPECT_EQ(size, 0u);
}
