#include "AudioFacade.h"
#include "AudioTestSupport.h"
#include "VirtualBackend.h"
#include "WaveRecordingFile.h"

#include "FileBytes.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <semaphore>

#include <chrono>
#include <cstring>
#include <filesystem>

using namespace corvane::audio;
using corvane::SampleFormat;
using namespace corvane::audio::test;

namespace {

const std::string kSecondLine = "Make sure another program is not using the sound card.";

class AudioFacadeTest : public ::testing::Test
{
protected:
    AudioFacadeTest()
    {
        VirtualBackend::instance().setPacing(VirtualPacing::AsFastAsTaken);
        VirtualBackend::instance().setCaptureSource({});
        setCaptureDevice(VirtualBackend::captureDeviceId());
        setPlaybackDevice(VirtualBackend::playbackDeviceId());
        useFormat(SampleFormat { 1, 11025, 16 });
        setDeviceErrorHandler([this](const std::string &message) { messages.push_back(message); });
    }
    ~AudioFacadeTest() override
    {
        stop();
        setDeviceErrorHandler(nullptr);
        AudioDevices::instance().setRecordingFileFactory(nullptr);
        VirtualBackend::instance().setCaptureSource({});
        VirtualBackend::instance().setPacing(VirtualPacing::RealTime);
    }

    static void useFormat(const SampleFormat &format)
    {
        setCaptureFormat({ corvane::blockLengthForRate(format.sampleRate), format });
        // One second of frames per playback half.
        setPlaybackFormat({ format.sampleRate, format });
    }

    // Capture hears `blocks` whole blocks of numbered bytes, once.
    static std::vector<std::byte> captureNumberedBlocks(const SampleFormat &format, int blocks)
    {
        const auto bytes = countingBytes(
                static_cast<std::size_t>(blocks)
                * static_cast<std::size_t>(AudioDevices::instance().captureBlockBytes()));
        VirtualCaptureSource source;
        source.kind = VirtualCaptureSource::Kind::Samples;
        source.samplesFormat = format;
        source.samples = std::make_shared<const std::vector<std::byte>>(bytes);
        VirtualBackend::instance().setCaptureSource(source);
        return bytes;
    }

    std::vector<std::string> messages;
    CountingSink sink;
    CountingSource source;
};

} // namespace

TEST_F(AudioFacadeTest, TheCaptureRingHoldsFifteenSecondsInWholeBlocks)
{
    ASSERT_TRUE(open(sink, &source, 1.0f));
    EXPECT_EQ(AudioDevices::instance().captureBlockBytes(), 2048);
    EXPECT_EQ(captureRing().blockSize(), 2048);
    EXPECT_EQ(captureRing().blockCount(), 161);                     // 22050 × 15 ÷ 2048
    EXPECT_EQ(AudioDevices::instance().playbackHalfBytes(), 22050); // one second
    stop();

    useFormat(SampleFormat { 2, 44100, 16 });
    ASSERT_TRUE(open(sink, &source, 1.0f));
    EXPECT_EQ(captureRing().blockSize(), 16384);
    EXPECT_EQ(captureRing().blockCount(), 161); // 176400 × 15 ÷ 16384
    EXPECT_TRUE(messages.empty());
}

// What the tuner hears through: every block the device delivered reaches the sink once, in
// order and unchanged, and its position counts frames (not bytes, not blocks) from the start of
// the capture.
TEST_F(AudioFacadeTest, TheSinkReceivesEveryCapturedBlockInOrderAtConsecutiveFramePositions)
{
    const SampleFormat stereo { 2, 11025, 16 };
    useFormat(stereo);
    constexpr int kBlocks = 40; // more than the capture queue holds at once
    const auto heard = captureNumberedBlocks(stereo, kBlocks);
    const auto blockFrames = static_cast<std::uint64_t>(corvane::blockLengthForRate(11025));
    std::vector<std::byte> received;
    std::vector<std::uint64_t> positions;
    received.reserve(heard.size());
    positions.reserve(kBlocks);
    sink.action = [&](const std::byte *block, std::size_t bytes, std::uint64_t position) {
        received.insert(received.end(), block, block + bytes);
        positions.push_back(position);
    };
    ASSERT_TRUE(open(sink, &source, 1.0f));
    ASSERT_TRUE(start(false));
    ASSERT_TRUE(sink.waitFor(kBlocks));
    stop();
    EXPECT_EQ(sink.count(), kBlocks);
    EXPECT_TRUE(received == heard);
    ASSERT_EQ(positions.size(), std::size_t { kBlocks });
    for (std::size_t i = 0; i < positions.size(); ++i)
        ASSERT_EQ(positions[i], i * blockFrames) << "block " << i;
}

TEST_F(AudioFacadeTest, StartingDevicesThatAreNotOpenFails)
{
    std::string why;
    EXPECT_FALSE(start(false, &why));
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(startPlayback());
}

TEST_F(AudioFacadeTest, ADeviceThatCannotOpenIsReportedWithBothFixedLinesAndTheReason)
{
    setCaptureDevice(DeviceId { VirtualBackend::kHostApi, "nowhere" });
    EXPECT_FALSE(open(sink, &source, 1.0f));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "Unable to open the capture device.\n" + kSecondLine
                      + "\nThere is no virtual capture device called \"nowhere\".");
    EXPECT_FALSE(AudioDevices::instance().captureOpen());

    setPlaybackDevice(DeviceId { VirtualBackend::kHostApi, "nowhere" });
    EXPECT_FALSE(openPlayback(0, &source, 1.0f));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].substr(0, messages[1].find('\n', 40)),
              "Unable to open the playback device.\n" + kSecondLine);
}

TEST_F(AudioFacadeTest, TheRecordingFileHoldsExactlyTheCapturedBytesUnderAHeaderThatCountsFrames)
{
    corvane::test::TempWorkingDir dir;
    const SampleFormat stereo { 2, 11025, 16 };
    useFormat(stereo);
    // The virtual device plays a wave file: five blocks of numbered bytes.
    const auto heard = captureNumberedBlocks(stereo, 5);
    {
        std::string why;
        auto source = WaveRecordingFile::create("heard.wav", stereo, why);
        ASSERT_TRUE(source) << why;
        std::size_t written = 0;
        ASSERT_TRUE(source->write(heard.data(), heard.size(), written));
        ASSERT_TRUE(source->finish(static_cast<uint32_t>(heard.size() / 4)));
    }
    std::string why;
    ASSERT_TRUE(VirtualBackend::instance().setCaptureWaveFile("heard.wav", false, why)) << why;

    ASSERT_TRUE(open(sink, &source, 1.0f));
    ASSERT_TRUE(start(true));
    ASSERT_TRUE(sink.waitFor(5));
    stop();
    EXPECT_TRUE(messages.empty());

    std::vector<uint8_t> data(heard.size());
    std::memcpy(data.data(), heard.data(), heard.size());
    const auto n = static_cast<uint32_t>(heard.size());
    // clang-format off
    const auto expected = corvane::test::Bytes()
            .tag("RIFF").u32(48 + n).tag("WAVE")
            .tag("fmt ").u32(16).pcm(2, 11025, 16, 4)
            .tag("fact").u32(4).u32(n / 4) // frames, not samples
            .tag("data").u32(n).raw(data);
    // clang-format on
    EXPECT_EQ(corvane::test::fileBytes("tune0000.wav"), expected.bytes());
}

TEST_F(AudioFacadeTest, RecordWhenTheRecordingFileCannotBeCreatedFailsWithoutStartingCapture)
{
    corvane::test::TempWorkingDir dir;
    std::filesystem::create_directory("tune0000.wav"); // in the way of the file
    captureNumberedBlocks(SampleFormat { 1, 11025, 16 }, 3);
    ASSERT_TRUE(open(sink, &source, 1.0f));
    std::string why;
    EXPECT_FALSE(start(true, &why));
    EXPECT_EQ(why,
              "Unable to create the recording file \"tune0000.wav\".\n"
              "The file cannot be created in the current folder.");
    // The refusal comes before capture starts: nothing was delivered, and nothing can be.
    EXPECT_EQ(sink.count(), 0);
    EXPECT_FALSE(AudioDevices::instance().recording());
    EXPECT_TRUE(std::filesystem::is_directory("tune0000.wav"));
    // Capture without recording still works on the same open devices.
    EXPECT_TRUE(start(false));
    EXPECT_TRUE(sink.waitFor(3));
}

TEST_F(AudioFacadeTest, AWriteFailureIsReportedOnceAfterStop)
{
    captureNumberedBlocks(SampleFormat { 1, 11025, 16 }, 4);
    MemoryRecordingFile file;
    file.failAfterBytes = 2048;
    AudioDevices::instance().setRecordingFileFactory(
            [&](const std::string &, const SampleFormat &, std::string &) {
                return std::make_unique<ForwardingRecordingFile>(file);
            });
    ASSERT_TRUE(open(sink, &source, 1.0f));
    ASSERT_TRUE(start(true));
    ASSERT_TRUE(sink.waitFor(4));
    EXPECT_TRUE(messages.empty());
    stop();
    ASSERT_EQ(messages.size(), 1u);
    // One block of 1024 frames at 11025 Hz went in before the disk was full.
    EXPECT_EQ(messages[0],
              "Failure writing data to file \"tune0000.wav\".\nThe recording stopped there; its "
              "first 0.09 seconds are in the file.");
    EXPECT_EQ(file.finishedFrames, 1024u);
    stop();
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(AudioFacadeTest, StopReturnsPromptlyAndNoSinkOrSourceCallFollowsIt)
{
    VirtualBackend::instance().setPacing(VirtualPacing::RealTime);
    ASSERT_TRUE(open(sink, &source, 1.0f));
    ASSERT_TRUE(start(false));
    ASSERT_TRUE(sink.waitFor(2));
    ASSERT_TRUE(source.waitFor(1));
    const auto before = std::chrono::steady_clock::now();
    stop();
    const auto took = std::chrono::steady_clock::now() - before;
    // Both workers are joined when stop() returns; it used to pause 2.2 s.
    EXPECT_LT(took, std::chrono::milliseconds(1000));
    // The workers are gone, their threads joined: no call into the sink or source can follow.
    EXPECT_FALSE(AudioDevices::instance().captureOpen());
    EXPECT_FALSE(AudioDevices::instance().playbackOpen());
}

TEST_F(AudioFacadeTest, APausedRecordingSkipsThePausedBlocksAndKeepsWhatCameBeforeAndAfter)
{
    const SampleFormat mono { 1, 11025, 16 };
    const auto heard = captureNumberedBlocks(mono, 6);
    const auto blockBytes = static_cast<std::size_t>(AudioDevices::instance().captureBlockBytes());
    MemoryRecordingFile file;
    AudioDevices::instance().setRecordingFileFactory(
            [&](const std::string &, const SampleFormat &, std::string &) {
                return std::make_unique<ForwardingRecordingFile>(file);
            });
    // Each block is written before the sink sees it: pausing after block 2 and resuming after
    // block 4 leaves blocks 3 and 4 out of the file. The capture thread waits in those two
    // sink calls until this thread, the devices' owner, has paused or resumed.
    int blocks = 0;
    std::binary_semaphore atBlock { 0 }, goOn { 0 };
    sink.action = [&](const std::byte *, std::size_t, std::uint64_t) {
        ++blocks;
        if (blocks == 2 || blocks == 4) {
            atBlock.release();
            goOn.acquire();
        }
    };
    EXPECT_FALSE(pauseRecording(true)); // nothing records yet
    ASSERT_TRUE(open(sink, &source, 1.0f));
    ASSERT_TRUE(start(true));
    atBlock.acquire();
    EXPECT_TRUE(pauseRecording(true));
    goOn.release();
    atBlock.acquire();
    EXPECT_TRUE(pauseRecording(false));
    goOn.release();
    ASSERT_TRUE(sink.waitFor(6));
    stop();

    std::vector<std::byte> expected(heard.begin(), heard.begin() + std::ptrdiff_t(2 * blockBytes));
    expected.insert(expected.end(), heard.begin() + std::ptrdiff_t(4 * blockBytes), heard.end());
    EXPECT_EQ(file.bytes(), expected);
    EXPECT_EQ(file.finishedFrames, 4 * blockBytes / 2);
    EXPECT_TRUE(messages.empty());
}
