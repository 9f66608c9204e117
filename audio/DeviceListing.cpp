#include "DeviceListing.h"

#include "PortAudioSession.h"

#include <portaudio.h>

namespace corvane::audio {

int listDevices(std::ostream &out, std::ostream &err)
{
    PortAudioSession session;
    if (!session.ok()) {
        err << "Cannot start the sound system: " << session.error() << '\n';
        return 1;
    }

    const PaHostApiIndex apiCount = Pa_GetHostApiCount();
    if (apiCount <= 0) {
        out << "No sound system (host API) was found.\n";
        return 0;
    }
    int deviceTotal = 0;
    for (PaHostApiIndex api = 0; api < apiCount; ++api) {
        const PaHostApiInfo *apiInfo = Pa_GetHostApiInfo(api);
        if (!apiInfo)
            continue;
        out << "Host API: " << apiInfo->name << '\n';
        if (apiInfo->deviceCount <= 0) {
            out << "  (no devices)\n";
            continue;
        }
        for (int i = 0; i < apiInfo->deviceCount; ++i) {
            const PaDeviceIndex device = Pa_HostApiDeviceIndexToDeviceIndex(api, i);
            const PaDeviceInfo *info = device >= 0 ? Pa_GetDeviceInfo(device) : nullptr;
            if (!info)
                continue;
            ++deviceTotal;
            out << "  " << info->name << ": " << info->maxInputChannels << " in, "
                << info->maxOutputChannels << " out, " << info->defaultSampleRate << " Hz\n";
        }
    }
    if (deviceTotal == 0)
        out << "No sound devices were found.\n";
    return 0;
}

} // namespace corvane::audio
