#include "AudioFacade.h"
#include "AudioTestSupport.h"
#include "PlaybackBuffer.h"
#include "VirtualBackend.h"
#include "VolumeCurve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

using namespace corvane::audio;
using corvane::SampleFormat;
using namespace corvane::audio::test;

namespace {

constexpr int32_t kHalfBytes = 64; // 32 frames of 16-bit mono

std::vector<int16_t> samplesOf(const std::vector<std::byte> &bytes)
{
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

class PlaybackTest : public ::testing::Test
{
protected:
    PlaybackTest()
    {
        VirtualBackend::instance().setPacing(VirtualPacing::AsFastAsTaken);
        VirtualBackend::instance().keepPlayed(true);
        setPlaybackDevice(VirtualBackend::playbackDeviceId());
        AudioDevices::instance().setPlaybackFormat(SampleFormat { 1, 11025, 16 }, 1024);
    }
    ~PlaybackTest() override
    {
        stop();
        VirtualBackend::instance().setPacing(VirtualPacing::RealTime);
        VirtualBackend::instance().keepPlayed(false);
    }

    // Fills each staging block with `value(call)`, the call counted from 1.
    static void renderConstantBlocks(CountingSource &producer, std::function<int16_t(int)> value)
    {
        producer.action = [&producer, value](std::byte *staging, std::size_t bytes) {
            const int16_t sample = value(producer.count() + 1);
            for (std::size_t i = 0; i + 2 <= bytes; i += 2)
                std::memcpy(staging + i, &sample, 2);
        };
    }
};

} // namespace

TEST_F(PlaybackTest, HalvesAlternateAndEachRefillCopiesTheStagingBlock)
{
    CountingSource producer;
    renderConstantBlocks(producer, [](int call) { return static_cast<int16_t>(1000 * call); });
    ASSERT_TRUE(openPlayback(kHalfBytes, &producer, 1.0f));
    EXPECT_EQ(playbackRing().blockCount(), 2);
    ASSERT_TRUE(startPlayback());
    // The seventh refill is asked for on entering the seventh half: six have played whole.
    ASSERT_TRUE(producer.waitFor(7));
    stopPlayback();

    const std::vector<int16_t> played = samplesOf(VirtualBackend::instance().played());
    ASSERT_GE(played.size(), std::size_t { 6 * 32 });
    // Half 0 starts silent; half 1 gets the staging block before anything was rendered (silent
    // too); from then on each half plays the block rendered one refill earlier, in turn.
    for (std::size_t half = 0; half < 6; ++half) {
        const int16_t expected = half < 2 ? 0 : static_cast<int16_t>(1000 * (half - 1));
        for (std::size_t i = 0; i < 32; ++i)
            ASSERT_EQ(played[half * 32 + i], expected) << "half " << half << " sample " << i;
    }
}

TEST_F(PlaybackTest, TheVolumeScalesWhatIsPlayedAndALowLevelIsSilenceNotAFailure)
{
    CountingSource producer;
    renderConstantBlocks(producer, [](int) { return int16_t { 10000 }; });
    // A saved level below 0.1 once made every open fail, and so every start of the program.
    ASSERT_TRUE(openPlayback(kHalfBytes, &producer, 0.05f));
    EXPECT_EQ(AudioDevices::instance().volumeHundredthsDb(), kSilentHundredthsDb);
    setVolume(0.5f);
    ASSERT_TRUE(startPlayback());
    ASSERT_TRUE(producer.waitFor(4));
    stopPlayback();
    const std::vector<int16_t> played = samplesOf(VirtualBackend::instance().played());
    ASSERT_GE(played.size(), std::size_t { 3 * 32 });
    EXPECT_EQ(played[2 * 32], 313); // 10000 at -30.10 dB
}

TEST(PlaybackBuffer, PlaysSilenceAndCountsAnUnderrunWhileAHalfIsNotBack)
{
    PlaybackBuffer buffer;
    buffer.prepare(SampleFormat { 1, 11025, 8 }, 4);
    std::byte out[8];
    buffer.render(out, 4); // plays half 0 and hands half 1 over
    EXPECT_EQ(buffer.pendingHalf(), 1);
    std::memset(buffer.half(1), 7, 4); // the worker is half way through its refill...
    buffer.render(out, 2);
    EXPECT_EQ(out[0], std::byte { 128 }); // ...so the device plays 8-bit silence, not the half
    EXPECT_EQ(buffer.underruns(), 1u);
    buffer.finishRefill(1);
    buffer.render(out, 4);
    EXPECT_EQ(out[0], std::byte { 7 });
    EXPECT_EQ(buffer.pendingHalf(), 0);
}

TEST(VolumeCurve, HundredthsOfADecibelFollowTheSliderCurveAndAreClamped)
{
    EXPECT_EQ(volumeHundredthsDb(1.0f), 0);
    EXPECT_EQ(volumeHundredthsDb(0.5f), -3010);
    EXPECT_EQ(volumeHundredthsDb(0.1f), -10000);
    EXPECT_EQ(volumeHundredthsDb(0.05f), -10000);
    EXPECT_EQ(volumeHundredthsDb(0.0f), -10000);
    EXPECT_EQ(volumeHundredthsDb(-1.0f), -10000);
    EXPECT_EQ(volumeHundredthsDb(std::nanf("")), -10000);
    EXPECT_EQ(volumeHundredthsDb(3.0f), 0);
    EXPECT_EQ(gainForHundredthsDb(0), 1.0f);
    EXPECT_EQ(gainForHundredthsDb(-10000), 0.0f);
    EXPECT_NEAR(gainForHundredthsDb(-2000), 0.1f, 1e-6);
}

TEST_F(PlaybackTest, ThePlaybackDeviceKeepsWhatItPlaysOnlyWhenAsked)
{
    // A tuner left running on the virtual devices must not keep every byte its drones play.
    VirtualBackend::instance().keepPlayed(false);
    CountingSource producer;
    renderConstantBlocks(producer, [](int) { return int16_t { 1000 }; });
    ASSERT_TRUE(openPlayback(kHalfBytes, &producer, 1.0f));
    ASSERT_TRUE(startPlayback());
    ASSERT_TRUE(producer.waitFor(4));
    EXPECT_TRUE(VirtualBackend::instance().played().empty());

    // Asked for, the record starts empty and follows what plays from then on. The device plays at
    // most two halves behind the refills, so six more refills mean at least one whole half kept.
    VirtualBackend::instance().keepPlayed(true);
    const int from = producer.count();
    ASSERT_TRUE(producer.waitFor(from + 6));
    stopPlayback();
    const std::vector<int16_t> played = samplesOf(VirtualBackend::instance().played());
    ASSERT_GE(played.size(), std::size_t { 32 });
    EXPECT_EQ(played.back(), 1000);
}
