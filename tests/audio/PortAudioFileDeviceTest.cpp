// The real PortAudio path on a machine without a sound card: a throwaway ALSA configuration
// defines two "file" devices over a null device. Capture reads a 440 Hz tone from a raw file;
// playback writes a raw file. ALSA reads ALSA_CONFIG_PATH when PortAudio starts, so this
// program sets it before anything starts PortAudio, and runs apart from the other tests.

#include "AudioFacade.h"
#include "AudioTestSupport.h"
#include "DeviceConfiguration.h"
#include "PortAudioBackend.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <future>
#include <numbers>

using namespace corvane::audio;
using namespace corvane::audio::test;

namespace {

constexpr int kRate = 11025;

int16_t toneSample(double hz, long index)
{
    return static_cast<int16_t>(
            std::lround(12000.0 * std::sin(2.0 * std::numbers::pi * hz * index / kRate)));
}

// Frequency from the rising zero crossings, interpolated, over the whole of `samples`.
double measuredHz(const std::vector<int16_t> &samples)
{
    double first = -1.0, last = -1.0;
    int crossings = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        if (samples[i - 1] < 0 && samples[i] >= 0) {
            const double at = static_cast<double>(i - 1)
                    + static_cast<double>(-samples[i - 1]) / (samples[i] - samples[i - 1]);
            if (first < 0)
                first = at;
            else
                ++crossings;
            last = at;
        }
    }
    return crossings > 0 ? crossings * kRate / (last - first) : 0.0;
}

class PortAudioFileDevice : public ::testing::Test
{
protected:
    PortAudioFileDevice()
    {
        // Six seconds of tone: longer than anything a test captures.
        {
            std::ofstream tone(dir / "tone.raw", std::ios::binary);
            for (long i = 0; i < 6L * kRate; ++i) {
                const int16_t s = toneSample(440.0, i);
                tone.write(reinterpret_cast<const char *>(&s), 2);
            }
        }
        std::ofstream conf(dir / "asound.conf");
        // PortAudio's ALSA device scan needs a "default" device among the defined ones.
        conf << "pcm.!default { type null }\n"
             << "pcm.corvane_null { type null }\n"
             << "pcm.corvane_capture {\n  type file\n  slave.pcm \"corvane_null\"\n"
             << "  file \"/dev/null\"\n  infile \"" << (dir / "tone.raw").string() << "\"\n"
             << "  format \"raw\"\n}\n"
             << "pcm.corvane_playback {\n  type file\n  slave.pcm \"corvane_null\"\n"
             << "  file \"" << (dir / "played.raw").string() << "\"\n  format \"raw\"\n}\n";
        conf.close();
        ::setenv("ALSA_CONFIG_PATH", (dir / "asound.conf").c_str(), 1);

        setCaptureFormat(corvane::PcmFormat { 1024, 1, kRate, 16 });
        setPlaybackFormat(corvane::PcmFormat { 1024, 1, kRate, 16 });
        setCaptureDevice(DeviceId { "ALSA", "corvane_capture" });
        setPlaybackDevice(DeviceId { "ALSA", "corvane_playback" });
        setDeviceErrorHandler([this](const std::string &m) { messages.push_back(m); });
    }
    ~PortAudioFileDevice() override
    {
        stop();
        setDeviceErrorHandler(nullptr);
    }

    corvane::test::TempDir dir;
    std::vector<std::string> messages;
};

} // namespace

TEST_F(PortAudioFileDevice, CaptureReadsTheToneFromTheFileDevice)
{
    CountingSink capture;
    // The null device under the file device sets no pace: capture runs as fast as it can and
    // would soon wrap the ring. The sink holds the worker in the eighth block until the test has
    // looked, so that ring blocks 0 ... 7 are the first eight blocks.
    std::promise<void> looked;
    std::shared_future<void> lookedAt = looked.get_future().share();
    std::atomic<bool> holding { false };
    capture.action = [&](const std::byte *, std::size_t, std::uint64_t) {
        if (capture.count() == 7) {
            holding = true;
            lookedAt.wait();
        }
    };
    CountingSource playback;
    ASSERT_TRUE(open(capture, &playback, 1.0f)) << (messages.empty() ? "" : messages[0]);
    ASSERT_TRUE(start(false));
    const bool held = eventually([&] { return holding.load(); });

    // The first blocks in the ring are the file's first samples, unchanged.
    std::vector<int16_t> heard(8 * 1024);
    if (held) {
        for (int b = 0; b < 8; ++b)
            std::memcpy(heard.data() + b * 1024, captureRing().blockAddress(b), 2048);
    }
    looked.set_value();
    stop();
    ASSERT_TRUE(held);
    EXPECT_NEAR(measuredHz(heard), 440.0, 0.5);
    for (long i = 0; i < 8 * 1024; ++i)
        ASSERT_EQ(heard[static_cast<std::size_t>(i)], toneSample(440.0, i)) << "sample " << i;
}

TEST_F(PortAudioFileDevice, PlaybackWritesWhatTheProducerRenderedToTheFileDevice)
{
    // The producer renders a continuous 440 Hz tone, one half (2048 frames) per refill.
    long rendered = 0;
    std::vector<int16_t> renderedSamples;
    renderedSamples.reserve(64 * 2048);
    CountingSource producer;
    producer.action = [&](std::byte *staging, std::size_t bytes) {
        for (std::size_t i = 0; i + 2 <= bytes; i += 2) {
            const int16_t s = toneSample(440.0, rendered++);
            std::memcpy(staging + i, &s, 2);
            renderedSamples.push_back(s);
        }
    };
    ASSERT_TRUE(openPlayback(4096, &producer, 1.0f)) << (messages.empty() ? "" : messages[0]);
    ASSERT_TRUE(startPlayback());
    ASSERT_TRUE(producer.waitFor(8));
    stopPlayback();

    std::ifstream in(dir / "played.raw", std::ios::binary);
    std::vector<char> raw { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    std::vector<int16_t> played(raw.size() / 2);
    std::memcpy(played.data(), raw.data(), played.size() * 2);
    // Silence may stand where the device ran ahead of the worker; apart from that the file holds
    // the rendered blocks in order, sample for sample.
    auto sound = [](const std::vector<int16_t> &v) {
        std::vector<int16_t> out;
        for (int16_t s : v)
            if (s != 0)
                out.push_back(s);
        return out;
    };
    const std::vector<int16_t> playedSound = sound(played);
    const std::vector<int16_t> renderedSound = sound(renderedSamples);
    ASSERT_GE(playedSound.size(), std::size_t { 2 * 2048 - 100 });
    ASSERT_LE(playedSound.size(), renderedSound.size());
    EXPECT_TRUE(std::equal(playedSound.begin(), playedSound.end(), renderedSound.begin()));
    EXPECT_NEAR(measuredHz(playedSound), 440.0, 0.5);
}

TEST_F(PortAudioFileDevice, TheDevicesOfferTodaysRatesAndDepthsBesideTheClassicFormats)
{
    PortAudioBackend backend;
    const uint32_t capture = backend.captureConfigurations(DeviceId { "ALSA", "corvane_capture" });
    const uint32_t playback =
            backend.playbackConfigurations(DeviceId { "ALSA", "corvane_playback" });
    // The file devices over the null device take whatever they are asked for.
    for (const DeviceConfiguration &c : kDeviceConfigurations) {
        EXPECT_TRUE(capture & c.flag) << c.label;
        EXPECT_TRUE(playback & c.flag) << c.label;
    }
    // A device that is not there offers nothing, rather than everything.
    EXPECT_EQ(backend.captureConfigurations(DeviceId { "ALSA", "no such device" }), 0u);
}
