#pragma once

#include "AudioBackend.h"
#include "VirtualCaptureSource.h"

#include <atomic>
#include <filesystem>
#include <mutex>
#include <optional>

namespace corvane::audio {

// Devices without hardware, selectable like any other: "Virtual capture" plays a tone or given
// samples (a recording to tune from), "Virtual playback" keeps what it is given in memory.
// Tests use them to drive the whole capture and playback path. One per process, like the device
// owner (AudioDevices) that opens it: the source chosen here is the one the sound-card dialog,
// the tuner and `--tune` all open. Its settings apply to devices opened afterwards.
// User-interface thread, except played().
class VirtualBackend final : public AudioBackend
{
public:
    static constexpr const char *kHostApi = "Virtual";
    static constexpr const char *kCaptureDevice = "Virtual capture";
    static constexpr const char *kPlaybackDevice = "Virtual playback";

    static VirtualBackend &instance();

    static DeviceId captureDeviceId() { return { kHostApi, kCaptureDevice }; }
    static DeviceId playbackDeviceId() { return { kHostApi, kPlaybackDevice }; }

    void setCaptureSource(VirtualCaptureSource source);
    const VirtualCaptureSource &captureSource() const noexcept { return m_source; }
    // Loads a PCM wave file (8, 16 or 24 bits, packed or in the 4-byte slots of earlier
    // versions; a killed take is recovered as the reader does) as the capture source; capture
    // then opens only in the file's format. False, with the reason in `why` and the source
    // unchanged, when the file cannot be used, a format the capture devices do not run in
    // included.
    bool setCaptureWaveFile(const std::filesystem::path &path, bool loop, std::string &why);
    void setPacing(VirtualPacing pacing) noexcept { m_pacing = pacing; }
    VirtualPacing pacing() const noexcept { return m_pacing; }

    // Playback writes into this wave file (created when the device opens, finished when it
    // closes) instead of keeping what it plays in memory; no file: memory.
    void setPlaybackWaveFile(std::optional<std::filesystem::path> path)
    {
        m_playbackFile = std::move(path);
    }

    // Whether the playback device keeps a record of what it plays, for a caller that reads it back
    // (the tests). Off by default: a tuner left running for hours on the virtual devices would
    // otherwise keep every byte its drones played. Switching it on starts an empty record;
    // switching it off frees it. While it is off the playback thread only reads one atomic flag
    // per piece it plays. Any thread.
    void keepPlayed(bool keep);
    // Everything the playback device has played since keepPlayed(true), in the program's sample
    // form; empty while nothing is kept. Any thread.
    std::vector<std::byte> played() const;

    std::vector<DeviceInfo> devices() override;
    uint32_t captureConfigurations(const DeviceChoice &device) override;
    uint32_t playbackConfigurations(const DeviceChoice &device) override;
    std::unique_ptr<CaptureStream> openCapture(const DeviceChoice &device,
                                               const SampleFormat &format, int32_t framesPerBlock,
                                               CaptureQueue &queue, OpenError &error) override;
    std::unique_ptr<PlaybackStream> openPlayback(const DeviceChoice &device,
                                                 const SampleFormat &format, PlaybackBuffer &buffer,
                                                 OpenError &error) override;

private:
    VirtualBackend() = default;
    void recordPlayed(const std::byte *data, std::size_t size);

    VirtualCaptureSource m_source;
    VirtualPacing m_pacing = VirtualPacing::RealTime;
    std::optional<std::filesystem::path> m_playbackFile;
    std::atomic<bool> m_keepPlayed { false };
    mutable std::mutex m_playedMutex; // guards m_played; taken only while the record is kept
    std::vector<std::byte> m_played;
};

} // namespace corvane::audio
