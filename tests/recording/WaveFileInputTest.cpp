#include "WaveFileInput.h"

#include "TempDir.h"
#include "WaveFixtures.h"

#include <gtest/gtest.h>

#include <vector>

using namespace corvane;
using namespace corvane::test;

TEST(WaveFileInput, RefusesWhatIsNotPcmAndNamesWaveErrorsWithThePath)
{
    TempDir dir;
    WaveFileInput input;

    EXPECT_EQ(input.open(dir / "missing.wav"), WaveFileInput::Status::WaveError);
    EXPECT_EQ(input.errorMessage(), "Error opening wave file: " + (dir / "missing.wav").string());

    WaveHeader adpcm;
    adpcm.formatTag = 2;
    adpcm.bitsPerSample = 4;
    adpcm.blockAlign = 256;
    adpcm.extra = { 0xf4, 0x01, 7, 0 };
    writeWave(dir / "adpcm.wav", adpcm, std::vector<uint8_t>(512, 0x11));
    EXPECT_EQ(input.open(dir / "adpcm.wav"), WaveFileInput::Status::NotPcm);

    WaveHeader noChannels;
    noChannels.channels = 0;
    noChannels.blockAlign = 2;
    writeWave(dir / "zero.wav", noChannels, std::vector<uint8_t>(512, 0));
    EXPECT_EQ(input.open(dir / "zero.wav"), WaveFileInput::Status::NotPcm);
}

TEST(WaveFileInput, ReadsPacked24BitDataAndStopsAtTheEndOfTheChunk)
{
    TempDir dir;
    WaveHeader packed;
    packed.channels = 2;
    packed.bitsPerSample = 24;
    const std::vector<uint8_t> data = pcmBytes(std::vector<double>(100, 0.25), 2, 24);
    writeWave(dir / "p.wav", packed, data);

    WaveFileInput input;
    ASSERT_EQ(input.open(dir / "p.wav"), WaveFileInput::Status::Ok);
    EXPECT_EQ(input.format().fileBytesPerSample, 3);
    EXPECT_EQ(input.header().blockAlign, 6);
    std::vector<uint8_t> block(6 * 64);
    EXPECT_EQ(input.read(block.data(), block.size()), block.size());
    EXPECT_TRUE(std::equal(block.begin(), block.end(), data.begin()));
    EXPECT_EQ(input.read(block.data(), block.size()), 6u * 36);
    EXPECT_EQ(input.read(block.data(), block.size()), 0u);
}
