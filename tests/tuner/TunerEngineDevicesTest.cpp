// The engine with both device workers running on the virtual devices: what the tuner shows for
// a tone it hears, what it plays, and how it starts, restarts and fails. The last case changes
// tones and settings while both workers run, for ThreadSanitizer.

#include "AnalyzerPreferences.h"
#include "AudioDevices.h"
#include "BlockLength.h"
#include "DeviceRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

using namespace corvane;
using namespace corvane::tuner;
using namespace corvane::tuner::test;
using Status = TunerEngine::Outcome::Status;

namespace {

bool reads(const TunerUpdate &shown, const char *note, double cents, double tolerance = 0.5)
{
    return shown.readout.note() == note && std::abs(shown.readout.cents() - cents) <= tolerance;
}

// The frequency of the last stretch of sound in what the virtual playback device played
// (mono 16-bit): rising zero crossings over half a second.
double lastPlayedHz(int sampleRate)
{
    const std::vector<std::byte> bytes = audio::VirtualBackend::instance().played();
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    std::size_t end = samples.size();
    while (end > 0 && std::abs(samples[end - 1]) < 1000)
        --end;
    const std::size_t window = std::size_t(sampleRate / 2);
    if (end < window + 100)
        return 0.0;
    int crossings = 0;
    for (std::size_t i = end - 100 - window; i < end - 100; ++i)
        crossings += samples[i] < 0 && samples[i + 1] >= 0;
    return crossings * 2.0;
}

} // namespace

TEST(TunerEngineDevices, AFourFortyHeardLightsALowestOctaveAAndReadsInTune)
{
    DeviceRig devices(440.0);
    ASSERT_EQ(devices.engine().start(false).status, Status::Running);
    // Within a tenth of a cent, so that the frequency shows as 440.0 Hz.
    ASSERT_TRUE(devices.updateUntil([](const TunerUpdate &u) { return reads(u, "A4", 0.0, 0.1); }));
    EXPECT_EQ(devices.rig.pitch.NoteIndex(devices.last.foldedHz), 0);
    EXPECT_EQ(devices.last.readout.hzText(), "440.0 Hz");
    EXPECT_TRUE(devices.deviceMessages.empty());
}

TEST(TunerEngineDevices, ALowEThirtyCentsFlatHeardReadsE2MinusThirty)
{
    DeviceRig devices(centsAway(82.4069, -30.0));
    ASSERT_EQ(devices.engine().start(false).status, Status::Running);
    ASSERT_TRUE(devices.updateUntil([](const TunerUpdate &u) { return reads(u, "E2", -30.0); }));
    EXPECT_EQ(devices.rig.pitch.NoteIndex(devices.last.foldedHz), 7);
}

TEST(TunerEngineDevices, TodaysRatesAndDepthsTuneAsTheClassicFormatsDo)
{
    for (const SampleFormat format : { SampleFormat { 2, 48000, 16 }, SampleFormat { 1, 48000, 24 },
                                       SampleFormat { 2, 96000, 24 } }) {
        DeviceRig devices(440.0);
        devices.rig.settings.SetCaptureFormat(format);
        devices.rig.settings.SetPlaybackFormat(format);
        ASSERT_EQ(devices.engine().start(false).status, Status::Running) << format.sampleRate;
        EXPECT_TRUE(devices.updateUntil([](const TunerUpdate &u) { return reads(u, "A4", 0.0); }))
                << format.sampleRate << " Hz, " << format.bitsPerSample << "-bit";
        EXPECT_TRUE(devices.deviceMessages.empty());
    }
}

TEST(TunerEngineDevices, TheAnalysisModeOfThePreferencesFileIsTheModeHeard)
{
    DeviceRig devices; // in its own working directory, with no preferences file yet
    ASSERT_EQ(devices.engine().start(false).status, Status::Running);
    EXPECT_EQ(devices.engine().analysisMode(), PitchAnalyzer::Mode::Refined);
    AnalyzerPreferences classic;
    classic.classic = true;
    ASSERT_TRUE(classic.save());
    // The tuner restarts its devices after the Optimize dialog closes.
    ASSERT_EQ(devices.engine().restartAudio(false).status, Status::Running);
    EXPECT_EQ(devices.engine().analysisMode(), PitchAnalyzer::Mode::Classic);
    EXPECT_TRUE(devices.updateUntil([](const TunerUpdate &u) { return reads(u, "A4", 0.0); }));
}

TEST(TunerEngineDevices, TheDeviceDeliversAHopAtATimeUnlessTheBlockIsAskedAndEitherReadsTheNote)
{
    DeviceRig devices;
    TunerEngine &engine = devices.engine();
    ASSERT_EQ(engine.start(false).status, Status::Running);
    EXPECT_EQ(engine.captureFormat().blockLength, hopLengthForRate(44100));
    EXPECT_EQ(engine.windowLength(), blockLengthForRate(44100));
    // The capture keeps what it hears in blocks of a hop (mono 16-bit).
    EXPECT_EQ(audio::AudioDevices::instance().captureRing().blockSize(),
              2 * hopLengthForRate(44100));
    EXPECT_TRUE(devices.updateUntil([](const TunerUpdate &u) { return reads(u, "A4", 0.0); }));

    AnalyzerPreferences block;
    block.blockHop = true;
    ASSERT_TRUE(block.save());
    ASSERT_EQ(engine.restartAudio(false).status, Status::Running);
    EXPECT_EQ(engine.captureFormat().blockLength, blockLengthForRate(44100));
    EXPECT_TRUE(devices.updateUntil([](const TunerUpdate &u) { return reads(u, "A4", 0.0); }));
}

TEST(TunerEngineDevices, AToneSwitchedOnIsPlayedAtItsFrequency)
{
    DeviceRig devices;
    ASSERT_EQ(devices.engine().start(false).status, Status::Running);
    EXPECT_TRUE(devices.engine().toggleTone(9)); // A in C major
    audio::AudioDevices &hardware = audio::AudioDevices::instance();
    const std::uint64_t refillsAtSwitch = hardware.playbackRefills();
    ASSERT_TRUE(devices.updateUntil([&](const TunerUpdate &) {
        return hardware.playbackRefills() >= refillsAtSwitch + 3;
    }));
    devices.engine().stopDevices();
    EXPECT_NEAR(lastPlayedHz(44100), 440.0, 4.0);
}

TEST(TunerEngineDevices, AFailedRestartStopsEverythingWithItsMessage)
{
    DeviceRig devices;
    ASSERT_EQ(devices.engine().start(false).status, Status::Running);
    audio::setCaptureDevice(audio::DeviceId { "Virtual", "No such device" });
    const TunerEngine::Outcome outcome = devices.engine().restartAudio(false);
    EXPECT_EQ(outcome.status, Status::Failed);
    EXPECT_EQ(outcome.message, TunerEngine::kRestartFailedMessage);
    EXPECT_FALSE(audio::AudioDevices::instance().captureOpen());
    EXPECT_FALSE(audio::AudioDevices::instance().playbackOpen());
}

TEST(TunerEngineDevices, DevicesThatWillNotOpenAtStartGiveTheStartMessage)
{
    DeviceRig devices;
    audio::setPlaybackDevice(audio::DeviceId { "Virtual", "No such device" });
    const TunerEngine::Outcome outcome = devices.engine().start(false);
    EXPECT_EQ(outcome.status, Status::Failed);
    EXPECT_EQ(outcome.message, TunerEngine::kStartFailedMessage);
    EXPECT_FALSE(devices.deviceMessages.empty()); // the device's own reason went to the handler
}

TEST(TunerEngineDevices, AStoredFormatTheDevicesCannotTakeStopsTheTunerWithItsMessage)
{
    DeviceRig devices;
    SampleFormat bad = monoFormat(44100);
    bad.bitsPerSample = 12;
    devices.rig.settings.SetCaptureFormat(bad);
    const TunerEngine::Outcome outcome = devices.engine().start(false);
    EXPECT_EQ(outcome.status, Status::Failed);
    EXPECT_EQ(outcome.message, TunerEngine::kStartFailedMessage);
    EXPECT_FALSE(audio::AudioDevices::instance().captureOpen());
    EXPECT_FALSE(audio::AudioDevices::instance().playbackOpen());
}

TEST(TunerEngineDevices, ARecordingThatCannotStartLeavesTheTunerRunningAndSaysWhy)
{
    DeviceRig devices;
    audio::AudioDevices::instance().setRecordingFileFactory(
            [](const std::string &, const SampleFormat &, std::string &why) {
                why = "The disk is full.";
                return std::unique_ptr<audio::RecordingFile>();
            });
    ASSERT_EQ(devices.engine().start(false).status, Status::Running);
    const TunerEngine::Outcome outcome = devices.engine().restartAudio(true);
    EXPECT_EQ(outcome.status, Status::RunningWithoutRecording);
    EXPECT_NE(outcome.message.find("The disk is full."), std::string::npos);
    EXPECT_FALSE(audio::AudioDevices::instance().recording());
    ASSERT_TRUE(devices.updateUntil([](const TunerUpdate &u) { return reads(u, "A4", 0.0); }));
}

TEST(TunerEngineDevices, TonesAndSettingsChangeWhileBothWorkersRun)
{
    DeviceRig devices;
    TunerEngine &engine = devices.engine();
    ASSERT_EQ(engine.start(false).status, Status::Running);
    audio::AudioDevices &hardware = audio::AudioDevices::instance();
    int changes = 0;
    auto churn = [&](std::uint64_t blocks, std::uint64_t refills) {
        return devices.updateUntil([&](const TunerUpdate &) {
            engine.toggleTone(changes % 12);
            engine.setInputGain(0.5 + (changes % 3) * 0.5);
            if (changes % 7 == 0)
                engine.configureVoices();
            ++changes;
            return hardware.blocksCaptured() >= blocks && hardware.playbackRefills() >= refills;
        });
    };
    ASSERT_TRUE(churn(40, 4));
    ASSERT_EQ(engine.restartAudio(false).status, Status::Running);
    ASSERT_TRUE(churn(40, 4));
    engine.setInputGain(1.0);
    // After the churn the analysis still tracks the tone.
    ASSERT_TRUE(devices.updateUntil([](const TunerUpdate &u) { return reads(u, "A4", 0.0); }));
}
