#include "AudioDevices.h"
#include "AudioFacade.h"
#include "DebugLog.h"
#include "PlaybackFeed.h"
#include "RecordingPlayer.h"
#include "TempDir.h"
#include "VirtualBackend.h"
#include "VolumeCurve.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::audio;

namespace {

constexpr int32_t kBlock = 16;
constexpr int32_t kRate = 11025;

// A signal file of `blocks` blocks whose frame i holds (i + 1) / 4096, so every 16-bit sample
// played says which frame it came from: (i + 1) * 8 - 1 after truncation.
std::filesystem::path writeRamp(const corvane::test::TempDir &dir, int32_t blocks)
{
    const std::filesystem::path path = dir / "signal.tmp";
    std::ofstream out(path, std::ios::binary);
    for (int32_t i = 0; i < blocks * kBlock; ++i) {
        const float v = static_cast<float>(i + 1) / 4096.0f;
        out.write(reinterpret_cast<const char *>(&v), sizeof v);
    }
    return path;
}

int16_t rampSample(int32_t frame)
{
    return static_cast<int16_t>((frame + 1) * 8 - 1);
}

std::vector<int16_t> asSamples(const std::vector<std::byte> &bytes)
{
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

std::vector<int16_t> feedOnce(PlaybackFeed &feed, bool *more = nullptr)
{
    std::vector<std::byte> out(static_cast<std::size_t>(feed.feedBytes()));
    const bool going = feed.feed(out.data());
    if (more)
        *more = going;
    return asSamples(out);
}

// Expects one feed to hold blocks first .. first + 3, silence where `silent` says.
void expectBlocks(const std::vector<int16_t> &played, int32_t first, std::vector<bool> silent)
{
    ASSERT_EQ(played.size(), std::size_t { 4 * kBlock });
    for (int32_t b = 0; b < 4; ++b) {
        for (int32_t i = 0; i < kBlock; ++i) {
            const int16_t expected =
                    silent[static_cast<std::size_t>(b)] ? 0 : rampSample((first + b) * kBlock + i);
            ASSERT_EQ(played[static_cast<std::size_t>(b * kBlock + i)], expected)
                    << "block " << first + b << " frame " << i;
        }
    }
}

} // namespace

TEST(PlaybackFeed, PlaysTheRangeOnceThenSilenceAndReportsTheEnd)
{
    corvane::test::TempDir dir;
    PlaybackFeed feed;
    ASSERT_TRUE(feed.prepare(writeRamp(dir, 10), kBlock, kRate, 16, 10));
    EXPECT_EQ(feed.feedBytes(), 4 * kBlock * 2);
    feed.setRange(2, 7);
    bool more = false;
    expectBlocks(feedOnce(feed, &more), 2, { false, false, false, false });
    EXPECT_TRUE(more);
    EXPECT_EQ(feed.position(), 2);
    expectBlocks(feedOnce(feed, &more), 6, { false, true, true, true });
    EXPECT_TRUE(more);
    expectBlocks(feedOnce(feed, &more), 10, { true, true, true, true });
    EXPECT_TRUE(more); // the last feed staged is still to be heard
    EXPECT_TRUE(feed.finished());
    feedOnce(feed, &more);
    EXPECT_FALSE(more);
}

TEST(PlaybackFeed, BlocksBeforeOrAfterTheRecordingAreSilenceAndLoopingStartsAgain)
{
    corvane::test::TempDir dir;
    PlaybackFeed feed;
    ASSERT_TRUE(feed.prepare(writeRamp(dir, 3), kBlock, kRate, 16, 3));
    // A selection near the start, moved back by the analyzer's delay, begins before block 0.
    feed.setRange(-2, 5);
    feed.setLooping(true);
    expectBlocks(feedOnce(feed), -2, { true, true, false, false });
    expectBlocks(feedOnce(feed), 2, { false, true, true, true });
    expectBlocks(feedOnce(feed), -2, { true, true, false, false });
    EXPECT_FALSE(feed.finished());
}

TEST(PlaybackFeed, TheRangeFollowsTheSelectionLessTheAnalyzerDelay)
{
    EXPECT_EQ(PlaybackFeed::rangeFor(0, 0, 50, 0.3, 0.1), std::make_pair(0, 50));
    EXPECT_EQ(PlaybackFeed::rangeFor(10, 20, 50, 0.35, 0.1), std::make_pair(7, 17));
    EXPECT_EQ(PlaybackFeed::rangeFor(1, 4, 50, 0.35, 0.1), std::make_pair(-2, 1));
}

TEST(PlaybackFeed, TwentyFourBitFeedsAreSizedByTheirFourByteSlots)
{
    corvane::test::TempDir dir;
    PlaybackFeed feed;
    ASSERT_TRUE(feed.prepare(writeRamp(dir, 4), kBlock, kRate, 24, 4));
    EXPECT_EQ(feed.feedBytes(), 4 * kBlock * 4);
    std::vector<std::byte> out(static_cast<std::size_t>(feed.feedBytes()) + 8, std::byte { 0x5a });
    feed.feed(out.data());
    int32_t last = 0;
    std::memcpy(&last, out.data() + feed.feedBytes() - 4, 4);
    EXPECT_EQ(last, static_cast<int32_t>(64.0f / 4096.0f * 8388607.0f));
    EXPECT_EQ(out[static_cast<std::size_t>(feed.feedBytes())], std::byte { 0x5a }); // nothing past
    EXPECT_FALSE(feed.prepare(dir / "missing.tmp", kBlock, kRate, 16, 4));
    EXPECT_FALSE(feed.prepare(writeRamp(dir, 4), kBlock, kRate, 12, 4));
}

class RecordingPlayerTest : public ::testing::Test
{
protected:
    RecordingPlayerTest()
    {
        VirtualBackend::instance().setPacing(VirtualPacing::AsFastAsTaken);
        VirtualBackend::instance().keepPlayed(true);
        setPlaybackDevice(VirtualBackend::playbackDeviceId());
        setDeviceErrorHandler([this](const std::string &message) { errors.push_back(message); });
    }
    ~RecordingPlayerTest() override
    {
        setDeviceErrorHandler({});
        setDebugLogHandler(nullptr);
        VirtualBackend::instance().setPacing(VirtualPacing::RealTime);
        VirtualBackend::instance().keepPlayed(false);
    }

    void onEvent(RecordingPlayer::Event event)
    {
        std::lock_guard lock(mutex);
        if (event == RecordingPlayer::Event::Ended)
            ended = true;
        else
            ++moves;
        changed.notify_all();
    }
    bool waitForEnd()
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(20), [this] { return ended; });
    }

    corvane::test::TempDir dir;
    std::vector<std::string> errors;
    std::mutex mutex;
    std::condition_variable changed;
    bool ended = false;
    int moves = 0;
};

TEST_F(RecordingPlayerTest, PlaysTheRecordingsSamplesInOrderThroughTheVirtualDevice)
{
    RecordingPlayer player([this](RecordingPlayer::Event e) { onEvent(e); });
    RecordingPlayer::Request request { writeRamp(dir, 12), kBlock, kRate, 16, 12, 0, 12, false };
    ASSERT_TRUE(player.play(request));
    EXPECT_TRUE(player.playing());
    ASSERT_TRUE(waitForEnd());
    player.stop();
    EXPECT_FALSE(player.playing());

    const std::vector<int16_t> played = asSamples(VirtualBackend::instance().played());
    // The device starts on its silent first half; then the recording, frame after frame.
    std::size_t at = 0;
    while (at < played.size() && played[at] == 0)
        ++at;
    ASSERT_GE(played.size() - at, std::size_t { 12 * kBlock });
    for (int32_t frame = 0; frame < 12 * kBlock; ++frame)
        ASSERT_EQ(played[at + static_cast<std::size_t>(frame)], rampSample(frame)) << frame;
    EXPECT_TRUE(errors.empty());
}

// The view asks for the stored volume; the device plays at the level asked for.
TEST_F(RecordingPlayerTest, PlaysAtTheRequestedLevel)
{
    RecordingPlayer player([this](RecordingPlayer::Event e) { onEvent(e); });
    RecordingPlayer::Request request { writeRamp(dir, 4), kBlock, kRate, 16, 4, 0, 4, false, 0.9f };
    ASSERT_TRUE(player.play(request));
    ASSERT_TRUE(waitForEnd());
    player.stop();

    const float gain = gainForHundredthsDb(volumeHundredthsDb(0.9f));
    const std::vector<int16_t> played = asSamples(VirtualBackend::instance().played());
    std::size_t at = 0;
    while (at < played.size() && played[at] == 0)
        ++at;
    ASSERT_GE(played.size() - at, std::size_t { 4 * kBlock });
    for (int32_t frame = 0; frame < 4 * kBlock; ++frame)
        ASSERT_EQ(played[at + static_cast<std::size_t>(frame)],
                  std::lround(static_cast<float>(rampSample(frame)) * gain))
                << frame;
}

// The listener runs on the playback thread, where an exception would end the program: it is
// logged instead, and the recording plays on to its end.
TEST_F(RecordingPlayerTest, AListenerThatThrowsIsLoggedAndPlaybackGoesOn)
{
    std::string log;
    setDebugLogHandler([&](std::string_view text) { log += text; }); // one thread at a time
    RecordingPlayer player([this](RecordingPlayer::Event e) {
        if (e == RecordingPlayer::Event::Moved)
            throw std::runtime_error("repaint refused");
        onEvent(e);
    });
    RecordingPlayer::Request request { writeRamp(dir, 12), kBlock, kRate, 16, 12, 0, 12, false };
    ASSERT_TRUE(player.play(request));
    ASSERT_TRUE(waitForEnd());
    player.stop();
    EXPECT_NE(log.find("Playback listener failed: repaint refused"), std::string::npos) << log;
}

TEST_F(RecordingPlayerTest, ADeviceThatDoesNotOpenLeavesNothingPlaying)
{
    setPlaybackDevice(DeviceId { VirtualBackend::kHostApi, "nowhere" });
    RecordingPlayer player([this](RecordingPlayer::Event e) { onEvent(e); });
    RecordingPlayer::Request request { writeRamp(dir, 4), kBlock, kRate, 16, 4, 0, 4, false };
    EXPECT_FALSE(player.play(request));
    EXPECT_FALSE(player.playing());
    EXPECT_EQ(errors.size(), 1u);
    request.sampleCount = 0;
    setPlaybackDevice(VirtualBackend::playbackDeviceId());
    EXPECT_FALSE(player.play(request)); // nothing to play
    EXPECT_FALSE(player.playing());
}
