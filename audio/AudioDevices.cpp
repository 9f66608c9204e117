#include "AudioDevices.h"

#include "PcmFormat.h"
#include "PortAudioBackend.h"
#include "VirtualBackend.h"
#include "VolumeCurve.h"
#include "WaveRecordingFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace corvane::audio {

namespace {

    const char *const kSecondLine = "\nMake sure another program is not using the sound card.";

    std::string setupMessage(const char *firstLine, const std::string &reason)
    {
        std::string message = std::string(firstLine) + kSecondLine;
        if (!reason.empty())
            message += "\n" + reason;
        return message;
    }

    std::unique_ptr<RecordingFile> waveRecordingFile(const std::string &path,
                                                     const SampleFormat &format, std::string &why)
    {
        return WaveRecordingFile::create(path, format, why);
    }

    // "The recording stopped there; its first 28.25 seconds are in the file." for a take that
    // met a full disk after `bytes` bytes.
    std::string stoppedText(uint64_t bytes, const SampleFormat &format)
    {
        const double bytesPerSecond =
                static_cast<double>(format.frameBytes()) * static_cast<double>(format.sampleRate);
        const double seconds =
                bytesPerSecond > 0.0 ? static_cast<double>(bytes) / bytesPerSecond : 0.0;
        char text[128];
        std::snprintf(text, sizeof text,
                      "The recording stopped there; its first %.2f seconds are in the file.",
                      seconds);
        return text;
    }

    // ": No space left on device" for an errno, nothing for none.
    std::string causeText(int error)
    {
        return error != 0 ? std::string(": ") + std::strerror(error) : std::string();
    }

} // namespace

AudioDevices &AudioDevices::instance()
{
    static AudioDevices devices;
    return devices;
}

AudioDevices::AudioDevices()
    : m_recordingFileFactory(waveRecordingFile)
{
    // Devices still open at exit are closed by our destructor, and virtual devices live in the
    // virtual backend: make it first, so that it is destroyed after us.
    VirtualBackend::instance();
}

AudioDevices::~AudioDevices()
{
    stopCapture();
    stopPlayback();
}

void AudioDevices::setCaptureFormat(const SampleFormat &format, int32_t blockLength)
{
    m_captureFormat = format;
    m_captureBlockLength = blockLength;
    if (format.bytesPerSample() > 0)
        m_captureBlockBytes = static_cast<int32_t>(PcmFormat(blockLength, format).blockBytes());
}

void AudioDevices::setPlaybackFormat(const SampleFormat &format, int32_t blockLength)
{
    m_playbackFormat = format;
    if (format.bytesPerSample() > 0)
        m_playbackHalfBytes = static_cast<int32_t>(PcmFormat(blockLength, format).blockBytes());
}

void AudioDevices::setRecordingFileFactory(RecordingFileFactory factory)
{
    m_recordingFileFactory = factory ? std::move(factory) : RecordingFileFactory(waveRecordingFile);
}

AudioBackend *AudioDevices::backendFor(const DeviceChoice &device)
{
    if (device && device->hostApi == VirtualBackend::kHostApi)
        return &VirtualBackend::instance();
    if (!m_portAudio)
        m_portAudio = std::make_unique<PortAudioBackend>();
    return m_portAudio.get();
}

void AudioDevices::report(const std::string &message) const
{
    if (m_errorHandler)
        m_errorHandler(message);
    else
        std::fprintf(stderr, "%s\n", message.c_str());
}

bool AudioDevices::openCapture(BlockSink &sink)
{
    stopCapture();
    const SampleFormat format = m_captureFormat;
    const int32_t blockBytes = m_captureBlockBytes;
    if (!format.valid() || blockBytes <= 0) {
        report(setupMessage("Unable to open a capture stream on the sound device.",
                            "The capture format is not one the program can use."));
        return false;
    }
    // Fifteen seconds of audio.
    const int64_t bytesPerSecond = format.bytesPerSecond();
    const auto blockCount =
            static_cast<int32_t>(std::max<int64_t>(1, bytesPerSecond * 15 / blockBytes));
    m_captureRing.reset();
    m_captureRing.resize(blockBytes, blockCount, format.silenceByte());
    // About three seconds of slack between the callback and the worker, however short the
    // blocks: 32 blocks of a tenth of a second, or as many hops as make the same time.
    const auto fifoBlocks =
            static_cast<int32_t>(std::max<int64_t>(32, bytesPerSecond * 3 / blockBytes));
    m_captureQueue.prepare(format, blockBytes, fifoBlocks);

    OpenError error;
    AudioBackend *backend = backendFor(m_captureDevice);
    m_captureStream = backend->openCapture(m_captureDevice, format, m_captureBlockLength,
                                           m_captureQueue, error);
    if (!m_captureStream) {
        report(setupMessage(error.step == OpenError::Step::Device
                                    ? "Unable to open the capture device."
                                    : "Unable to open a capture stream on the sound device.",
                            error.reason));
        return false;
    }
    m_captureWorker = std::make_unique<CaptureWorker>(m_captureQueue, m_captureRing, sink);
    m_lastOverruns = 0;
    m_lastBlocks = 0;
    return true;
}

bool AudioDevices::openPlayback(int32_t halfBytes, BlockSource *source, float level)
{
    stopPlayback();
    const SampleFormat format = m_playbackFormat;
    if (!format.valid()) {
        report(setupMessage("Unable to open a playback stream on the sound device.",
                            "The playback format is not one the program can use."));
        return false;
    }
    // A half of 0 means one second; halves hold whole frames.
    int64_t bytes = halfBytes > 0 ? halfBytes : format.bytesPerSecond();
    bytes -= bytes % format.frameBytes();
    if (bytes <= 0 || bytes > INT32_MAX) {
        report(setupMessage("Unable to open a playback stream on the sound device.",
                            "The playback buffer size is not usable."));
        return false;
    }
    m_playbackHalfBytes = static_cast<int32_t>(bytes);
    m_playbackRing.reset();
    m_playbackRing.resize(m_playbackHalfBytes, 2, format.silenceByte());
    m_playbackBuffer.prepare(format, m_playbackHalfBytes);
    // The caller's level comes from stored settings; whatever they hold, it cannot fail an open.
    setVolume(level);

    OpenError error;
    AudioBackend *backend = backendFor(m_playbackDevice);
    m_playbackStream = backend->openPlayback(m_playbackDevice, format, m_playbackBuffer, error);
    if (!m_playbackStream) {
        report(setupMessage(error.step == OpenError::Step::Device
                                    ? "Unable to open the playback device."
                                    : "Unable to open a playback stream on the sound device.",
                            error.reason));
        return false;
    }
    m_playbackWorker = std::make_unique<PlaybackWorker>(m_playbackBuffer, m_playbackRing, source);
    return true;
}

bool AudioDevices::startCapture(bool recording, std::string *whyNot)
{
    auto fail = [whyNot](std::string why) {
        if (whyNot)
            *whyNot = std::move(why);
        return false;
    };
    if (!m_captureStream || !m_captureWorker)
        return fail("The capture device is not open.");
    if (m_captureRunning)
        return fail("Capture is already running.");

    m_recording = recording;
    m_recordingPaused = false;
    if (recording) {
        std::string why;
        m_takePath = m_recordingPath;
        m_recordingFile = m_recordingFileFactory(m_takePath, m_captureFormat, why);
        if (!m_recordingFile) {
            m_recording = false;
            return fail(std::string("Unable to create the recording file \"") + m_recordingPath
                        + "\"." + (why.empty() ? "" : "\n" + why));
        }
    }
    m_captureWorker->beginRun(m_recordingFile.get(), m_recordingLimit);
    std::string why;
    if (!m_captureStream->start(why)) {
        if (m_recordingFile) {
            m_recordingFile->finish(0);
            m_recordingFile.reset();
            std::error_code ignored;
            std::filesystem::remove(m_takePath, ignored);
        }
        m_recording = false;
        return fail("Unable to start sound capture." + (why.empty() ? "" : "\n" + why));
    }
    m_captureRunning = true;
    return true;
}

bool AudioDevices::startPlayback()
{
    if (!m_playbackStream || !m_playbackWorker)
        return false;
    if (m_playbackRunning)
        return true;
    std::string why;
    if (!m_playbackStream->start(why)) {
        report(setupMessage("Unable to open a playback stream on the sound device.", why));
        return false;
    }
    m_playbackRunning = true;
    return true;
}

void AudioDevices::stopCapture()
{
    // The device first, so that the worker's last drain sees everything it delivered; then the
    // worker, joined; only then is the recording finished and the streams released.
    if (m_captureStream)
        m_captureStream->stop();
    if (m_captureWorker) {
        m_captureWorker->stop();
        m_lastOverruns = m_captureWorker->overruns();
        m_lastBlocks = m_captureWorker->blocksCaptured();
    }
    finishRecording();
    m_captureWorker.reset();
    m_captureStream.reset();
    m_captureRunning = false;
    m_recording = false;
    m_recordingPaused = false;
}

bool AudioDevices::pauseRecording(bool paused) noexcept
{
    if (!m_recording || !m_captureRunning || !m_captureWorker)
        return false;
    m_captureWorker->setRecordingPaused(paused);
    m_recordingPaused = paused;
    return true;
}

void AudioDevices::finishRecording()
{
    if (!m_recordingFile)
        return;
    const uint64_t bytes = m_captureWorker ? m_captureWorker->bytesRecorded() : 0;
    const bool writeFailed = m_captureWorker && m_captureWorker->writeFailed();
    const int writeError = m_recordingFile->systemError();
    const bool full = m_captureWorker && m_captureWorker->limitReached();
    // The count is of frames, whatever the number of channels.
    const auto frames =
            static_cast<uint32_t>(bytes / static_cast<uint64_t>(m_captureFormat.frameBytes()));
    const bool finished = m_recordingFile->finish(frames);
    const int finishError = m_recordingFile->systemError();
    m_recordingFile.reset();
    const std::string name = "\"" + m_takePath + "\"";
    if (writeFailed) {
        report("Failure writing data to file " + name + causeText(writeError) + ".\n"
               + stoppedText(bytes, m_captureFormat)
               + (finished ? "" : " The file's header could not be completed."));
    } else if (!finished) {
        report("Failure writing data to file " + name + causeText(finishError)
               + ".\nThe file's header could not be completed.");
    } else if (full)
        report("The recording " + name
               + " reached the largest size a wave file can hold.\nIt holds the sound up to that "
                 "point.");
}

void AudioDevices::stopPlayback()
{
    if (m_playbackStream)
        m_playbackStream->stop();
    if (m_playbackWorker)
        m_playbackWorker->stop();
    m_playbackWorker.reset();
    m_playbackStream.reset();
    m_playbackRunning = false;
}

void AudioDevices::setVolume(float level)
{
    m_volumeHundredths = audio::volumeHundredthsDb(level);
    m_playbackBuffer.setGain(gainForHundredthsDb(m_volumeHundredths));
}

uint64_t AudioDevices::captureOverruns() const noexcept
{
    return m_captureWorker ? m_captureWorker->overruns() : m_lastOverruns;
}

uint64_t AudioDevices::blocksCaptured() const noexcept
{
    return m_captureWorker ? m_captureWorker->blocksCaptured() : m_lastBlocks;
}

uint64_t AudioDevices::playbackRefills() const noexcept
{
    return m_playbackWorker ? m_playbackWorker->refills() : 0;
}

} // namespace corvane::audio
