#pragma once

#include "PlaybackBuffer.h"
#include "PlaybackStream.h"
#include "VirtualCaptureSource.h"
#include "WakeSignal.h"
#include "WorkerThread.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace corvane::audio {

// A playback device without hardware: a thread of its own takes pieces of a quarter half from
// the playback buffer, as a sound card's callback would, and hands each piece, converted back
// to the program's own sample form, to `sink` (on that thread).
class VirtualPlaybackDevice final : public PlaybackStream
{
public:
    using Sink = std::function<void(const std::byte *data, std::size_t size)>;

    VirtualPlaybackDevice(VirtualPacing pacing, const SampleFormat &format, PlaybackBuffer &buffer,
                          Sink sink);
    ~VirtualPlaybackDevice() override;

    bool start(std::string &why) override;
    void stop() noexcept override;

private:
    void run() noexcept;

    VirtualPacing m_pacing;
    SampleFormat m_format;
    PlaybackBuffer &m_buffer;
    Sink m_sink;
    std::size_t m_pieceFrames;
    std::vector<std::byte> m_piece;
    WakeSignal m_wake;
    WorkerThread m_thread;
};

} // namespace corvane::audio
