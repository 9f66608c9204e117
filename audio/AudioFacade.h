#pragma once

// The audio facade: free functions over the process's one AudioDevices (see there why there is
// one). Every function is called by the devices' owner, the user-interface thread (a test's own
// thread in a test), never by a worker: captured blocks reach their sink, and playback asks its
// source, straight from the workers (BlockSink.h).

#include "AudioDevices.h"
#include "BlockLength.h"
#include "BlockRing.h"
#include "BlockSink.h"
#include "DeviceId.h"
#include "PcmFormat.h"

#include <cstdint>
#include <string>

namespace corvane::audio {

// The capture format: channels, rate and depth, and the block length in frames that sizes the
// capture blocks (channels × blockLength × 1, 2 or 4 bytes). A depth other than 8, 16 or 24
// bits is kept but sizes nothing, and capture will not open with it.
void setCaptureFormat(const PcmFormat &format);
// The same for playback; the block length sizes the halves of the playback buffer.
void setPlaybackFormat(const PcmFormat &format);

void setCaptureDevice(DeviceChoice device);
DeviceChoice captureDevice();
void setPlaybackDevice(DeviceChoice device);
DeviceChoice playbackDevice();

// Opens playback with one-second halves at `playbackLevel` 0 ... 1, rendered by `playback`
// (may be null: silence), and, only if that worked, capture with a fifteen-second capture ring,
// whose blocks go to `capture`. False when either failed; the failure has then been reported to
// the error handler. Both must stay alive until stop() (AudioDevices.h says why).
bool open(BlockSink &capture, BlockSource *playback, float playbackLevel);
// Playback only, with halves of `halfBytes` (0: one second); `source` stays alive until
// stopPlayback() or stop().
bool openPlayback(int32_t halfBytes, BlockSource *source, float level);

// The file the next recording goes to ("tune0000.wav" until set); and the file of the running or
// last recording ("tune0000.wav" before any).
void setRecordingPath(const std::string &path);
std::string lastTakePath();

// Starts capture (recording into the recording path when `recording`) and then playback. False when
// capture did not start: the device is not open, the recording file could not be created, or
// the device refused; `whyNot` then receives a message for the user.
bool start(bool recording, std::string *whyNot = nullptr);
// False when playback is not open or the device refused.
bool startPlayback();

// Stop capture (finishing the recording; a write failure is reported then, once) and then
// playback. Each returns once its device has stopped and its worker has been joined.
void stop();
void stopPlayback();

// Stops (true) or resumes (false) writing the running recording; the file stays open, so the
// take continues where it paused. False when nothing is being recorded.
bool pauseRecording(bool paused);

// Playback level 0 ... 1 (see VolumeCurve.h); never fails.
void setVolume(float level);

// The rings' storage; their blocks are the workers' while the devices run (AudioDevices.h).
BlockRing &captureRing();
BlockRing &playbackRing();

// Overruns of the current or last capture: blocks that arrived while the previous one was still
// being handled, or input lost because the queue was full.
uint64_t captureOverruns();

// Where set-up failures and recording failures go (a stop-icon message box in the program), and
// the handler set now.
void setDeviceErrorHandler(AudioDevices::ErrorHandler handler);
AudioDevices::ErrorHandler deviceErrorHandler();

// The running recording met a full disk and writes no more (AudioDevices::recordingFailed).
bool recordingFailed();

} // namespace corvane::audio
