#pragma once

#include "AudioBackend.h"
#include "BlockRing.h"
#include "BlockSink.h"
#include "CaptureQueue.h"
#include "CaptureWorker.h"
#include "DeviceId.h"
#include "PlaybackBuffer.h"
#include "PlaybackWorker.h"
#include "RecordingFile.h"
#include "SampleFormat.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace corvane::audio {

// The one owner of the sound devices in the process: the chosen devices and formats, the open
// streams, the capture and playback workers with their rings, and the recording. The facade's
// free functions (AudioFacade.h) act on it.
//
// One per process because the sound system is: PortAudio is started once for the process and
// keeps its host APIs and device list in process-wide state (ALSA reads its configuration only
// then), a device takes one stream at a time, and the capture ring outlives the tuner that filled
// it (the recording window analyzes it afterwards). Every window that listens or plays therefore
// goes through this object, and opening capture or playback first stops whatever was open in
// that direction.
//
// Threads. Every member function is called by one thread, the devices' owner: the
// user-interface thread in the program, the test's own thread in a test. The capture and
// playback workers never call them; each works on what it was handed when the device opened (the
// queue or the buffer, the ring, and the sink or source). Of the rings, the storage stays put
// from open to the next open, but the blocks belong to the workers while the devices run: the
// owner reads the capture ring only while capture is stopped, and fills the playback staging
// block (PlaybackWorker::kStagingIndex) only between openPlayback and startPlayback.
//
// Sinks and sources (BlockSink.h) are not owned. The caller that opens a direction with one
// keeps it alive until that direction is stopped: stopCapture / stopPlayback (also run by the
// next open of the same direction and by the destructor) join the worker and destroy it, and
// with it the only reference to the sink or source.
class AudioDevices
{
public:
    // The recording's file name, in the current directory, until setRecordingPath names another.
    static constexpr const char *kRecordingFileName = "tune0000.wav";

    // Creates the recording file with its header, ready for samples; null with the reason in
    // `why` when that fails (and then no file is left behind).
    using RecordingFileFactory = std::function<std::unique_ptr<RecordingFile>(
            const std::string &path, const SampleFormat &format, std::string &why)>;
    // Receives the set-up failures the user must see (two fixed lines and the device's reason)
    // and the recording failures reported after stop.
    using ErrorHandler = std::function<void(const std::string &message)>;

    static AudioDevices &instance();
    ~AudioDevices();

    // Formats. A depth other than 8, 16 or 24 bits is stored but not used for sizes, and a
    // device will not open with it.
    void setCaptureFormat(const SampleFormat &format, int32_t blockLength);
    void setPlaybackFormat(const SampleFormat &format, int32_t blockLength);
    const SampleFormat &captureFormat() const noexcept { return m_captureFormat; }
    const SampleFormat &playbackFormat() const noexcept { return m_playbackFormat; }
    int32_t captureBlockBytes() const noexcept { return m_captureBlockBytes; }
    int32_t playbackHalfBytes() const noexcept { return m_playbackHalfBytes; }

    void setCaptureDevice(DeviceChoice device) { m_captureDevice = std::move(device); }
    void setPlaybackDevice(DeviceChoice device) { m_playbackDevice = std::move(device); }
    const DeviceChoice &captureDevice() const noexcept { return m_captureDevice; }
    const DeviceChoice &playbackDevice() const noexcept { return m_playbackDevice; }

    // Stops capture, then opens the capture device with a fifteen-second ring; each captured
    // block goes to `sink`. False, reported to the error handler, when the format is unusable or
    // the device does not open.
    bool openCapture(BlockSink &sink);
    // Stops playback, then opens the playback device with halves of `halfBytes` (0: one second)
    // at `level` 0 ... 1 (see VolumeCurve.h; any value is taken, brought into range), rendering
    // through `source` (null: the staging block as it stands). False, reported, on failure.
    bool openPlayback(int32_t halfBytes, BlockSource *source, float level);
    bool startCapture(bool recording, std::string *whyNot);
    bool startPlayback();
    void stopCapture();
    void stopPlayback();
    // Stops or resumes writing the running recording without closing its file, so a take
    // paused and resumed is one file. False (and nothing changes) when not recording.
    bool pauseRecording(bool paused) noexcept;
    bool recordingPaused() const noexcept { return m_recording && m_recordingPaused; }
    void setVolume(float level);

    bool captureOpen() const noexcept { return m_captureWorker != nullptr; }
    bool playbackOpen() const noexcept { return m_playbackWorker != nullptr; }
    bool recording() const noexcept { return m_recording; }
    // A write of the running recording failed, so nothing more is written to it (see
    // CaptureWorker::recordingFailed); stopCapture finishes it and reports it.
    bool recordingFailed() const noexcept
    {
        return m_recording && m_captureWorker && m_captureWorker->recordingFailed();
    }
    int32_t volumeHundredthsDb() const noexcept { return m_volumeHundredths; }

    // Overruns of the current (or last) capture.
    uint64_t captureOverruns() const noexcept;
    // Blocks taken by the current (or last) capture; refills of the open playback.
    uint64_t blocksCaptured() const noexcept;
    uint64_t playbackRefills() const noexcept;
    uint64_t playbackUnderruns() const noexcept { return m_playbackBuffer.underruns(); }

    BlockRing &captureRing() noexcept { return m_captureRing; }
    BlockRing &playbackRing() noexcept { return m_playbackRing; }

    void setErrorHandler(ErrorHandler handler) { m_errorHandler = std::move(handler); }
    const ErrorHandler &errorHandler() const noexcept { return m_errorHandler; }
    void setRecordingFileFactory(RecordingFileFactory factory);
    // The file the next recording goes to (the tuner numbers its takes; `tonrik --record` names
    // its own). Takes effect at the next startCapture.
    void setRecordingPath(std::string path) { m_recordingPath = std::move(path); }
    const std::string &recordingPath() const noexcept { return m_recordingPath; }
    // The file of the running or last recording; empty before the first.
    const std::string &takePath() const noexcept { return m_takePath; }
    // For tests: a smaller ceiling for the recording's data bytes.
    void setRecordingLimit(uint64_t bytes) noexcept { m_recordingLimit = bytes; }

private:
    AudioDevices();
    AudioBackend *backendFor(const DeviceChoice &device);
    void report(const std::string &message) const;
    void finishRecording();

    // Until a format is set: mono 16-bit at 11025 Hz, as the block sizes below assume.
    SampleFormat m_captureFormat { 1, 11025, 16 };
    int32_t m_captureBlockLength = 1024;
    int32_t m_captureBlockBytes = 2048;
    SampleFormat m_playbackFormat { 1, 11025, 16 };
    int32_t m_playbackHalfBytes = 22050;
    DeviceChoice m_captureDevice;
    DeviceChoice m_playbackDevice;
    int32_t m_volumeHundredths = 0;

    BlockRing m_captureRing;
    BlockRing m_playbackRing;

    CaptureQueue m_captureQueue;
    std::unique_ptr<CaptureStream> m_captureStream;
    std::unique_ptr<CaptureWorker> m_captureWorker;
    bool m_captureRunning = false;
    bool m_recording = false;
    bool m_recordingPaused = false;
    std::unique_ptr<RecordingFile> m_recordingFile;
    std::string m_recordingPath = kRecordingFileName;
    std::string m_takePath; // of the recording running or last run
    uint64_t m_recordingLimit = CaptureWorker::kMaxRecordingBytes;
    uint64_t m_lastOverruns = 0;
    uint64_t m_lastBlocks = 0;

    PlaybackBuffer m_playbackBuffer;
    std::unique_ptr<PlaybackStream> m_playbackStream;
    std::unique_ptr<PlaybackWorker> m_playbackWorker;
    bool m_playbackRunning = false;

    std::unique_ptr<AudioBackend> m_portAudio;
    ErrorHandler m_errorHandler;
    RecordingFileFactory m_recordingFileFactory;
};

} // namespace corvane::audio
