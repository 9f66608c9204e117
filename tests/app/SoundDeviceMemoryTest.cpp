#include "SoundDeviceMemory.h"

#include "AudioFacade.h"
#include "TempDir.h"
#include "VirtualBackend.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace corvane;
using audio::VirtualBackend;

namespace {

// The process's devices go back to the system's defaults after each test.
class SoundDeviceMemoryTest : public ::testing::Test
{
protected:
    ~SoundDeviceMemoryTest() override
    {
        audio::setCaptureDevice(std::nullopt);
        audio::setPlaybackDevice(std::nullopt);
    }
    std::string fileText() const
    {
        std::ifstream in(file);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    test::TempDir dir;
    std::filesystem::path file = dir.path() / PreferencesFile::kFileName;
    std::vector<audio::AudioBackend *> backends { &VirtualBackend::instance() };
};

} // namespace

TEST_F(SoundDeviceMemoryTest, NothingRememberedMeansDefaultDevicesNoMessageAndNoFile)
{
    SoundDeviceMemory memory(file);
    EXPECT_FALSE(memory.remembersDevices());
    EXPECT_EQ(memory.restore(backends), "");
    EXPECT_EQ(audio::captureDevice(), std::nullopt);
    EXPECT_EQ(memory.keep(), "");
    EXPECT_FALSE(std::filesystem::exists(file)) << "an unchanged choice writes nothing";
}

TEST_F(SoundDeviceMemoryTest, DevicesChosenInOneRunAreFoundByNameInTheNext)
{
    {
        SoundDeviceMemory run(file);
        run.restore(backends);
        audio::setCaptureDevice(VirtualBackend::captureDeviceId());
        audio::setPlaybackDevice(VirtualBackend::playbackDeviceId());
        ASSERT_EQ(run.keep(), "");
    }
    audio::setCaptureDevice(std::nullopt);
    audio::setPlaybackDevice(std::nullopt);

    SoundDeviceMemory next(file);
    EXPECT_TRUE(next.remembersDevices());
    EXPECT_EQ(next.restore(backends), "");
    EXPECT_EQ(audio::captureDevice(), VirtualBackend::captureDeviceId());
    EXPECT_EQ(audio::playbackDevice(), VirtualBackend::playbackDeviceId());
}

TEST_F(SoundDeviceMemoryTest, AMissingDeviceFallsBackToTheDefaultWithOneMessageAndIsNotForgotten)
{
    // The capture card moved to another sound system (found by its name); the playback card is
    // unplugged.
    std::ofstream(file) << "pitch_mode=classic\n"
                           "capture_device_api=ALSA\ncapture_device_name=Virtual capture\n"
                           "playback_device_api=ALSA\nplayback_device_name=USB Speakers\n";
    const std::string before = fileText();
    SoundDeviceMemory memory(file);
    const std::string message = memory.restore(backends);
    EXPECT_EQ(audio::captureDevice(), VirtualBackend::captureDeviceId());
    EXPECT_EQ(audio::playbackDevice(), std::nullopt);
    EXPECT_EQ(message,
              "The playback device \"USB Speakers (ALSA)\" chosen in the sound card settings is "
              "not connected.\nThe system's default device is used instead; choose another one "
              "with Settings > Configure Sound Card.");
    EXPECT_EQ(message.find("capture"), std::string::npos);

    // A run that changed nothing leaves the speakers remembered for when they are back.
    EXPECT_EQ(memory.keep(), "");
    EXPECT_EQ(fileText(), before);

    // A capture device chosen during the run is kept, the remembered speakers and the pitch
    // mode with it.
    audio::setCaptureDevice(std::nullopt);
    EXPECT_EQ(memory.keep(), "");
    const DevicePreferences kept = DevicePreferences::load(file);
    EXPECT_EQ(kept.capture, std::nullopt);
    EXPECT_EQ(kept.playback, (StoredDevice { "ALSA", "USB Speakers" }));
    EXPECT_NE(fileText().find("pitch_mode=classic\n"), std::string::npos);
}
