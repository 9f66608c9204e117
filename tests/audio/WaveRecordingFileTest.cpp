#include "WaveRecordingFile.h"

#include "WaveFile.h"

#include "StandardWaveReaders.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <vector>

#include <sys/resource.h>

using namespace corvane;
using namespace corvane::audio;

namespace {

// Lowers the largest file this process may write for as long as it lives, like a disk that is
// full for a moment; writes past it fail with EFBIG (the signal that would end the process is
// ignored meanwhile).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_old;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
};

std::vector<std::byte> block(std::byte value)
{
    return std::vector<std::byte>(2048, value);
}

} // namespace

// One block that meets a full disk is lost whole; the blocks after it, once there is room again,
// follow the last stored block, and the finished header counts exactly what the file holds.
TEST(WaveRecordingFile, ABlockThatCannotBeWrittenCostsOnlyItselfAndTheHeaderStaysTrue)
{
    test::TempDir dir;
    const auto path = dir / "tune0000.wav";
    std::string why;
    auto file = WaveRecordingFile::create(path, SampleFormat { 1, 11025, 16 }, why);
    ASSERT_TRUE(file) << why;
    std::size_t written = 0;
    const auto a = block(std::byte { 0x11 }), b = block(std::byte { 0x22 }),
               c = block(std::byte { 0x33 });
    ASSERT_TRUE(file->write(a.data(), a.size(), written));
    {
        // Room for the header, the first block and a part of the second.
        const FileSizeLimit full(56 + 2048 + 100);
        EXPECT_FALSE(file->write(b.data(), b.size(), written));
        EXPECT_EQ(written, 0u);
    }
    ASSERT_TRUE(file->write(c.data(), c.size(), written));
    EXPECT_EQ(written, c.size());
    ASSERT_TRUE(file->finish(2048));
    file.reset();

    EXPECT_EQ(std::filesystem::file_size(path), 56u + 2 * 2048u);
    WaveReader reader;
    ASSERT_EQ(OpenWaveForReading(path, reader), 0u);
    ASSERT_EQ(SeekWaveData(reader), 0u);
    ASSERT_EQ(reader.dataBytesLeft(), 2u * 2048u);
    std::vector<std::byte> data(2 * 2048);
    std::size_t got = 0;
    ASSERT_EQ(ReadWaveData(reader, data, got), 0u);
    std::vector<std::byte> expected = a;
    expected.insert(expected.end(), c.begin(), c.end());
    EXPECT_EQ(data, expected);
}

// What the disk holds of a take at any moment is a wave file other programs read up to the last
// update of its sizes, at most half a second of sound behind; a 24-bit take is packed in 3 bytes.
TEST(WaveRecordingFile, ATakeCaughtAtAnyMomentReadsInOtherProgramsAndIsStandard24Bit)
{
    test::TempDir dir;
    const SampleFormat format { 2, 48000, 24 };
    std::string why;
    auto file = WaveRecordingFile::create(dir / "take.wav", format, why);
    ASSERT_TRUE(file) << why;
    // Blocks of 1024 frames of a 440 Hz sine at half scale, in 4-byte slots.
    std::vector<std::byte> block(1024 * 2 * 4);
    long frame = 0;
    const auto fill = [&] {
        for (std::size_t i = 0; i < 1024; ++i, ++frame) {
            const auto v = static_cast<int32_t>(
                    std::lround(0.5 * 8388607 * std::sin(2 * M_PI * 440.0 * frame / 48000)));
            for (std::size_t c = 0; c < 2; ++c)
                std::memcpy(&block[(i * 2 + c) * 4], &v, 4);
        }
    };
    std::size_t written = 0;
    for (int b = 0; b < 94; ++b) { // two seconds
        fill();
        ASSERT_TRUE(file->write(block.data(), block.size(), written));
    }
    std::filesystem::copy_file(dir / "take.wav", dir / "killed.wav");
    const auto killed = test::readWithSox(dir / "killed.wav");
    ASSERT_TRUE(killed);
    EXPECT_GE(killed->seconds, 2.0 - 0.5 - 0.03);

    ASSERT_TRUE(file->finish(static_cast<uint32_t>(frame)));
    const auto take = test::readWithPython(dir / "take.wav");
    ASSERT_TRUE(take);
    EXPECT_EQ(take->sampleBytes, 3);
    EXPECT_EQ(take->frames, frame);
    EXPECT_NEAR(take->hz[0], 440.0, 1.0);
    EXPECT_NEAR(take->hz[1], 440.0, 1.0);
    EXPECT_NEAR(test::readWithSox(dir / "take.wav")->roughHz, 440.0, 10.0);
}
