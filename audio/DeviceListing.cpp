#include "DeviceListing.h"

#include "DeviceConfiguration.h"
#include "PortAudioBackend.h"
#include "PortAudioSession.h"
#include "VirtualBackend.h"

#include <portaudio.h>

#include <iomanip>
#include <string>

namespace corvane::audio {

namespace {

    const char *mark(bool usable, uint32_t flags, uint32_t flag)
    {
        if (!usable)
            return "-";
        return (flags & flag) ? "yes" : "no";
    }

    void writeConfigurations(const DeviceInfo &device, uint32_t captureFlags,
                             uint32_t playbackFlags, std::ostream &out)
    {
        out << "    " << std::left << std::setw(30) << "configuration" << std::setw(9) << "capture"
            << "playback\n";
        for (const DeviceConfiguration &c : kDeviceConfigurations) {
            out << "    " << std::setw(30) << c.label << std::setw(9)
                << mark(device.maxInputChannels > 0, captureFlags, c.flag)
                << mark(device.maxOutputChannels > 0, playbackFlags, c.flag) << '\n';
        }
        out << std::right;
    }

} // namespace

void writeDeviceTable(AudioBackend &backend, std::ostream &out)
{
    std::string currentApi;
    for (const DeviceInfo &device : backend.devices()) {
        if (device.id.hostApi != currentApi) {
            currentApi = device.id.hostApi;
            out << "Host API: " << currentApi << '\n';
        }
        out << "  " << device.id.name << ": " << device.maxInputChannels << " in, "
            << device.maxOutputChannels << " out, " << device.defaultSampleRate << " Hz\n";
        const DeviceChoice choice = device.id;
        const uint32_t captureFlags =
                device.maxInputChannels > 0 ? backend.captureConfigurations(choice) : 0;
        const uint32_t playbackFlags =
                device.maxOutputChannels > 0 ? backend.playbackConfigurations(choice) : 0;
        writeConfigurations(device, captureFlags, playbackFlags, out);
    }
}

std::optional<DeviceId> findDeviceByName(const std::vector<AudioBackend *> &backends,
                                         const DeviceId &wanted, bool capture)
{
    std::optional<DeviceId> sameName;
    for (AudioBackend *backend : backends) {
        for (const DeviceInfo &device : backend->devices()) {
            const int channels = capture ? device.maxInputChannels : device.maxOutputChannels;
            if (channels <= 0 || device.id.name != wanted.name)
                continue;
            if (device.id.hostApi == wanted.hostApi)
                return device.id;
            if (!sameName)
                sameName = device.id;
        }
    }
    return sameName;
}

int listDevices(std::ostream &out, std::ostream &err)
{
    PortAudioSession session;
    if (!session.ok()) {
        err << "Cannot start the sound system: " << session.error() << '\n';
        return 1;
    }

    PortAudioBackend portAudio;
    if (Pa_GetHostApiCount() <= 0) {
        out << "No sound system (host API) was found.\n";
    } else if (portAudio.devices().empty()) {
        out << "No sound card was found: the sound systems";
        for (PaHostApiIndex api = 0; api < Pa_GetHostApiCount(); ++api) {
            if (const PaHostApiInfo *info = Pa_GetHostApiInfo(api))
                out << (api ? ", " : " ") << info->name;
        }
        out << " report no devices.\n";
    } else {
        writeDeviceTable(portAudio, out);
    }
    out << "\nThe program's own virtual devices (a recording or a tone played as if live):\n";
    writeDeviceTable(VirtualBackend::instance(), out);
    return 0;
}

} // namespace corvane::audio
