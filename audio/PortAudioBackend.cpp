#include "PortAudioBackend.h"

#include "CaptureQueue.h"
#include "DeviceConfiguration.h"
#include "PlaybackBuffer.h"
#include "PortAudioStream.h"
#include "QuietStderr.h"

#include <portaudio.h>

namespace corvane::audio {

namespace {

    PaSampleFormat sampleFormatFor(int32_t bits)
    {
        switch (bits) {
        case 8:
            return paUInt8;
        case 16:
            return paInt16;
        default:
            return paInt32; // 24-bit samples, full range; the queue and buffer shift them
        }
    }

    // PortAudio's callbacks: a copy and nothing else. No locks, no allocation, nothing that throws.
    int captureCallback(const void *input, void *, unsigned long frameCount,
                        const PaStreamCallbackTimeInfo *, PaStreamCallbackFlags flags,
                        void *user) noexcept
    {
        auto *queue = static_cast<CaptureQueue *>(user);
        if (flags & paInputOverflow)
            queue->noteDeviceOverflow();
        if (input)
            queue->push(input, frameCount);
        return paContinue;
    }

    int playbackCallback(const void *, void *output, unsigned long frameCount,
                         const PaStreamCallbackTimeInfo *, PaStreamCallbackFlags,
                         void *user) noexcept
    {
        static_cast<PlaybackBuffer *>(user)->render(output, frameCount);
        return paContinue;
    }

    // The device index for a choice, or paNoDevice.
    PaDeviceIndex findDevice(const DeviceChoice &device, bool input)
    {
        if (!device)
            return input ? Pa_GetDefaultInputDevice() : Pa_GetDefaultOutputDevice();
        const PaDeviceIndex count = Pa_GetDeviceCount();
        for (PaDeviceIndex i = 0; i < count; ++i) {
            const PaDeviceInfo *info = Pa_GetDeviceInfo(i);
            if (!info)
                continue;
            const PaHostApiInfo *api = Pa_GetHostApiInfo(info->hostApi);
            if (api && device->hostApi == api->name && device->name == info->name
                && (input ? info->maxInputChannels : info->maxOutputChannels) > 0)
                return i;
        }
        return paNoDevice;
    }

    PaStreamParameters parametersFor(PaDeviceIndex index, const SampleFormat &format, bool input)
    {
        const PaDeviceInfo *info = Pa_GetDeviceInfo(index);
        PaStreamParameters parameters {};
        parameters.device = index;
        parameters.channelCount = format.channels;
        parameters.sampleFormat = sampleFormatFor(format.bitsPerSample);
        parameters.suggestedLatency = info
                ? (input ? info->defaultLowInputLatency : info->defaultLowOutputLatency)
                : 0.05;
        parameters.hostApiSpecificStreamInfo = nullptr;
        return parameters;
    }

    std::string deviceLabel(const DeviceChoice &device)
    {
        return device ? device->hostApi + ": " + device->name : std::string("the default device");
    }

} // namespace

PortAudioBackend::~PortAudioBackend() = default;

bool PortAudioBackend::ensureSession(std::string &why)
{
    if (!m_session)
        m_session = std::make_unique<PortAudioSession>();
    if (!m_session->ok()) {
        why = "The sound system did not start: " + m_session->error();
        m_session.reset(); // try again next time
        return false;
    }
    return true;
}

std::vector<DeviceInfo> PortAudioBackend::devices()
{
    std::vector<DeviceInfo> list;
    std::string why;
    if (!ensureSession(why))
        return list;
    const PaDeviceIndex count = Pa_GetDeviceCount();
    for (PaDeviceIndex i = 0; i < count; ++i) {
        const PaDeviceInfo *info = Pa_GetDeviceInfo(i);
        const PaHostApiInfo *api = info ? Pa_GetHostApiInfo(info->hostApi) : nullptr;
        if (!info || !api)
            continue;
        list.push_back({ DeviceId { api->name, info->name }, info->maxInputChannels,
                         info->maxOutputChannels, info->defaultSampleRate });
    }
    return list;
}

uint32_t PortAudioBackend::captureConfigurations(const DeviceChoice &device)
{
    return configurations(device, true);
}

uint32_t PortAudioBackend::playbackConfigurations(const DeviceChoice &device)
{
    return configurations(device, false);
}

uint32_t PortAudioBackend::configurations(const DeviceChoice &device, bool input)
{
    std::string why;
    if (!ensureSession(why))
        return 0;
    QuietStderr quiet;
    const PaDeviceIndex index = findDevice(device, input);
    if (index == paNoDevice)
        return 0;
    uint32_t flags = 0;
    for (const DeviceConfiguration &c : kDeviceConfigurations) {
        const SampleFormat format { c.channels, c.sampleRate, c.bitsPerSample };
        const PaStreamParameters parameters = parametersFor(index, format, input);
        if (Pa_IsFormatSupported(input ? &parameters : nullptr, input ? nullptr : &parameters,
                                 c.sampleRate)
            == paFormatIsSupported)
            flags |= c.flag;
    }
    return flags;
}

std::unique_ptr<CaptureStream> PortAudioBackend::openCapture(const DeviceChoice &device,
                                                             const SampleFormat &format,
                                                             int32_t framesPerBlock,
                                                             CaptureQueue &queue, OpenError &error)
{
    if (!ensureSession(error.reason)) {
        error.step = OpenError::Step::Device;
        return nullptr;
    }
    QuietStderr quiet;
    const PaDeviceIndex index = findDevice(device, true);
    if (index == paNoDevice) {
        error = { OpenError::Step::Device, "No capture device: " + deviceLabel(device) + "." };
        return nullptr;
    }
    const PaStreamParameters parameters = parametersFor(index, format, true);
    PaStream *stream = nullptr;
    // Callbacks of one block each, so that the worker wakes once per block.
    const PaError err = Pa_OpenStream(&stream, &parameters, nullptr, format.sampleRate,
                                      static_cast<unsigned long>(framesPerBlock), paClipOff,
                                      captureCallback, &queue);
    if (err != paNoError) {
        error = { OpenError::Step::Stream, Pa_GetErrorText(err) };
        return nullptr;
    }
    return std::make_unique<PortAudioStream>(stream, false);
}

std::unique_ptr<PlaybackStream> PortAudioBackend::openPlayback(const DeviceChoice &device,
                                                               const SampleFormat &format,
                                                               PlaybackBuffer &buffer,
                                                               OpenError &error)
{
    if (!ensureSession(error.reason)) {
        error.step = OpenError::Step::Device;
        return nullptr;
    }
    QuietStderr quiet;
    const PaDeviceIndex index = findDevice(device, false);
    if (index == paNoDevice) {
        error = { OpenError::Step::Device, "No playback device: " + deviceLabel(device) + "." };
        return nullptr;
    }
    const PaStreamParameters parameters = parametersFor(index, format, false);
    PaStream *stream = nullptr;
    const PaError err =
            Pa_OpenStream(&stream, nullptr, &parameters, format.sampleRate,
                          paFramesPerBufferUnspecified, paClipOff, playbackCallback, &buffer);
    if (err != paNoError) {
        error = { OpenError::Step::Stream, Pa_GetErrorText(err) };
        return nullptr;
    }
    return std::make_unique<PortAudioStream>(stream, true);
}

} // namespace corvane::audio
