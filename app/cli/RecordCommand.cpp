#include "RecordCommand.h"

#include "AudioDevices.h"
#include "BlockLength.h"
#include "BlockSink.h"
#include "PortAudioBackend.h"
#include "TerminationSignals.h"
#include "VirtualBackend.h"

#include <chrono>
#include <cstdio>
#include <ostream>
#include <sstream>
#include <thread>

namespace corvane {

namespace {

    // How often the command looks at the clock and for a signal.
    constexpr std::chrono::milliseconds kWatch { 20 };
    // What the device may still deliver after the end of a file it plays: the last blocks.
    constexpr double kTailSeconds = 0.25;

    // The blocks go to the file through the capture worker; nothing else listens.
    class NoListener final : public audio::BlockSink
    {
    public:
        void onBlock(const std::byte *, std::size_t, uint64_t) noexcept override { }
    };

    std::string describe(const SampleFormat &format)
    {
        return std::to_string(format.sampleRate) + "," + std::to_string(format.channels) + ","
                + std::to_string(format.bitsPerSample);
    }

} // namespace

std::optional<audio::DeviceId> findCaptureDevice(const std::string &name, std::string &why)
{
    audio::PortAudioBackend backend;
    for (const audio::DeviceInfo &info : backend.devices()) {
        if (info.maxInputChannels > 0
            && (info.id.name == name || info.id.hostApi + ": " + info.id.name == name))
            return info.id;
    }
    why = "there is no capture device called \"" + name + "\" (tonrik --list-devices shows them)";
    return std::nullopt;
}

std::optional<SampleFormat> parseRecordFormat(const std::string &text)
{
    std::istringstream in(text);
    SampleFormat format;
    char comma1 = 0, comma2 = 0;
    in >> format.sampleRate >> comma1 >> format.channels >> comma2 >> format.bitsPerSample;
    if (!in || comma1 != ',' || comma2 != ',' || in.peek() != std::char_traits<char>::eof()
        || !format.valid())
        return std::nullopt;
    return format;
}

int runRecordCommand(const RecordOptions &options, std::ostream &err)
{
    const auto fail = [&err, &options](const std::string &why) {
        err << "tonrik: " << options.file << ": " << why << '\n';
        return 1;
    };
    audio::DeviceChoice device;
    SampleFormat format = options.format.value_or(SampleFormat { 1, 44100, 16 });
    double seconds = options.seconds.value_or(0.0);
    std::string why;
    audio::VirtualBackend &virtualDevices = audio::VirtualBackend::instance();
    if (!options.from.empty()) {
        if (!virtualDevices.setCaptureWaveFile(options.from, false, why)) {
            err << "tonrik: " << options.from << ": " << why << '\n';
            return 1;
        }
        const audio::VirtualCaptureSource &source = virtualDevices.captureSource();
        if (options.format && *options.format != source.samplesFormat)
            return fail("--format " + describe(*options.format) + " differs from " + options.from
                        + ", which is " + describe(source.samplesFormat));
        format = source.samplesFormat;
        virtualDevices.setPacing(audio::VirtualPacing::RealTime);
        device = audio::VirtualBackend::captureDeviceId();
        const double fileSeconds = static_cast<double>(source.samples->size())
                / static_cast<double>(format.frameBytes() * int64_t { format.sampleRate });
        seconds = seconds > 0.0 ? std::min(seconds, fileSeconds + kTailSeconds)
                                : fileSeconds + kTailSeconds;
    } else if (!options.device.empty()) {
        device = findCaptureDevice(options.device, why);
        if (!device)
            return fail(why);
    }

    audio::AudioDevices &devices = audio::AudioDevices::instance();
    bool reported = false;
    devices.setErrorHandler([&](const std::string &message) {
        reported = true;
        err << "tonrik: " << message << '\n';
    });
    devices.setCaptureFormat(format, blockLengthForRate(format.sampleRate));
    devices.setCaptureDevice(device);
    devices.setRecordingPath(options.file);

    const TerminationSignals signalGuard;
    NoListener listener;
    if (!devices.openCapture(listener)) {
        devices.setErrorHandler(nullptr);
        return 1;
    }
    if (!devices.startCapture(true, &why)) {
        devices.stopCapture();
        devices.setErrorHandler(nullptr);
        return fail(why);
    }
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    while (TerminationSignals::received() == 0 && (seconds <= 0.0 || elapsed() < seconds))
        std::this_thread::sleep_for(kWatch);
    // Stopping finishes the file, and reports sound that could not be written.
    devices.stopCapture();
    devices.setErrorHandler(nullptr);
    return reported ? 1 : 0;
}

} // namespace corvane
