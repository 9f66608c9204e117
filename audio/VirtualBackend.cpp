#include "VirtualBackend.h"

#include "DeviceConfiguration.h"
#include "VirtualCaptureDevice.h"
#include "VirtualPlaybackDevice.h"
#include "WaveFile.h"
#include "WaveRecordingFile.h"

#include <algorithm>
#include <optional>
#include <string>

namespace corvane::audio {

namespace {

    bool isDevice(const DeviceChoice &device, const char *name)
    {
        return device && device->hostApi == VirtualBackend::kHostApi && device->name == name;
    }

    std::string describe(const SampleFormat &format)
    {
        return std::to_string(format.sampleRate) + " Hz, " + std::to_string(format.channels)
                + (format.channels == 1 ? " channel, " : " channels, ")
                + std::to_string(format.bitsPerSample) + "-bit";
    }

    // The checks both directions make before opening: the device must be ours (`name`), the
    // format one the program can carry. False with `error` filled in otherwise.
    bool canOpen(const DeviceChoice &device, const char *name, const char *direction,
                 const SampleFormat &format, OpenError &error)
    {
        if (!isDevice(device, name)) {
            error = { OpenError::Step::Device,
                      std::string("There is no virtual ") + direction + " device called \""
                              + (device ? device->name : "") + "\"." };
            return false;
        }
        if (!format.valid()) {
            error = { OpenError::Step::Stream,
                      "The format " + describe(format) + " is not supported." };
            return false;
        }
        return true;
    }

} // namespace

VirtualBackend &VirtualBackend::instance()
{
    static VirtualBackend backend;
    return backend;
}

void VirtualBackend::setCaptureSource(VirtualCaptureSource source)
{
    m_source = std::move(source);
}

bool VirtualBackend::setCaptureWaveFile(const std::filesystem::path &path, bool loop,
                                        std::string &why)
{
    WaveReader reader;
    if (const uint32_t code = OpenWaveForReading(path, reader); code != 0) {
        why = waveErrorPrefix(code) + path.string();
        return false;
    }
    if (const uint32_t code = SeekWaveData(reader); code != 0) {
        why = waveErrorPrefix(code) + path.string();
        return false;
    }
    const std::optional<PcmFileLayout> layout = reader.pcmLayout();
    if (!layout) {
        why = "Not a PCM wave file of 8, 16 or 24 bits (" + PcmFileLayout::refusal(reader.format())
                + "): " + path.string();
        return false;
    }
    const SampleFormat format = layout->format;
    if (!std::any_of(
                kDeviceConfigurations.begin(), kDeviceConfigurations.end(),
                [&](const DeviceConfiguration &c) {
                    return SampleFormat { c.channels, c.sampleRate, c.bitsPerSample } == format;
                })) {
        // Said of the tuner and of a recording alike: both run in the formats of the devices.
        why = "The program does not run at " + describe(format)
                + "; its sound formats are 11025, 22050 or 44100 Hz with 8 or 16 bits, or 48000 "
                  "or 96000 Hz with 16 or 24 bits";
        return false;
    }
    std::vector<std::byte> fileBytes(reader.dataBytesLeft());
    std::size_t got = 0;
    if (const uint32_t code = ReadWaveData(reader, fileBytes, got); code != 0) {
        why = waveErrorPrefix(code) + path.string();
        return false;
    }
    const auto fileFrameBytes =
            static_cast<std::size_t>(layout->fileBytesPerSample) * format.channels;
    const std::size_t frames = got / fileFrameBytes;
    auto samples = std::make_shared<std::vector<std::byte>>();
    if (layout->packed()) {
        // The capture path carries 24-bit samples in 4-byte slots.
        samples->resize(frames * static_cast<std::size_t>(format.frameBytes()));
        PcmFileLayout::unpack24(reinterpret_cast<const uint8_t *>(fileBytes.data()),
                                reinterpret_cast<uint8_t *>(samples->data()),
                                frames * format.channels);
    } else {
        fileBytes.resize(frames * fileFrameBytes);
        *samples = std::move(fileBytes);
    }
    VirtualCaptureSource source;
    source.kind = VirtualCaptureSource::Kind::Samples;
    source.samplesFormat = format;
    source.samples = std::move(samples);
    source.loop = loop;
    m_source = std::move(source);
    return true;
}

std::vector<std::byte> VirtualBackend::played() const
{
    std::lock_guard lock(m_playedMutex);
    return m_played;
}

void VirtualBackend::keepPlayed(bool keep)
{
    std::lock_guard lock(m_playedMutex);
    std::vector<std::byte>().swap(m_played);
    m_keepPlayed.store(keep, std::memory_order_relaxed);
}

void VirtualBackend::recordPlayed(const std::byte *data, std::size_t size)
{
    if (!m_keepPlayed.load(std::memory_order_relaxed))
        return;
    std::lock_guard lock(m_playedMutex);
    if (!m_keepPlayed.load(std::memory_order_relaxed))
        return; // switched off while this piece waited
    try {
        m_played.insert(m_played.end(), data, data + size);
    } catch (const std::bad_alloc &) {
        // Out of memory: the played record just stops growing.
    }
}

std::vector<DeviceInfo> VirtualBackend::devices()
{
    return {
        { captureDeviceId(), 2, 0, 44100.0 },
        { playbackDeviceId(), 0, 2, 44100.0 },
    };
}

uint32_t VirtualBackend::captureConfigurations(const DeviceChoice &device)
{
    if (!isDevice(device, kCaptureDevice))
        return 0;
    if (m_source.kind == VirtualCaptureSource::Kind::Tone)
        return kAllConfigurations;
    for (const DeviceConfiguration &c : kDeviceConfigurations)
        if (SampleFormat { c.channels, c.sampleRate, c.bitsPerSample } == m_source.samplesFormat)
            return c.flag;
    return 0;
}

uint32_t VirtualBackend::playbackConfigurations(const DeviceChoice &device)
{
    return isDevice(device, kPlaybackDevice) ? kAllConfigurations : 0;
}

std::unique_ptr<CaptureStream> VirtualBackend::openCapture(const DeviceChoice &device,
                                                           const SampleFormat &format,
                                                           int32_t framesPerBlock,
                                                           CaptureQueue &queue, OpenError &error)
{
    if (!canOpen(device, kCaptureDevice, "capture", format, error))
        return nullptr;
    if (m_source.kind == VirtualCaptureSource::Kind::Samples
        && (!m_source.samples || m_source.samplesFormat != format)) {
        error = { OpenError::Step::Stream,
                  "The virtual source holds " + describe(m_source.samplesFormat) + " samples, not "
                          + describe(format) + "." };
        return nullptr;
    }
    return std::make_unique<VirtualCaptureDevice>(m_source, m_pacing, format, framesPerBlock,
                                                  queue);
}

std::unique_ptr<PlaybackStream> VirtualBackend::openPlayback(const DeviceChoice &device,
                                                             const SampleFormat &format,
                                                             PlaybackBuffer &buffer,
                                                             OpenError &error)
{
    if (!canOpen(device, kPlaybackDevice, "playback", format, error))
        return nullptr;
    return std::make_unique<VirtualPlaybackDevice>(
            m_pacing, format, buffer,
            [this](const std::byte *data, std::size_t size) { recordPlayed(data, size); });
}

} // namespace corvane::audio
