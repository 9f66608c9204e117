#pragma once

#include "CaptureQueue.h"
#include "CaptureStream.h"
#include "VirtualCaptureSource.h"
#include "WakeSignal.h"
#include "WorkerThread.h"

#include <cstdint>
#include <vector>

namespace corvane::audio {

// A capture device without hardware: a thread of its own plays the source into the capture
// queue, in pieces of a quarter block, as a sound card's callback would.
class VirtualCaptureDevice final : public CaptureStream
{
public:
    // The source must suit `format` (see VirtualBackend::openCapture). Allocates its piece
    // buffer here.
    VirtualCaptureDevice(VirtualCaptureSource source, VirtualPacing pacing,
                         const SampleFormat &format, int32_t framesPerBlock, CaptureQueue &queue);
    ~VirtualCaptureDevice() override;

    bool start(std::string &why) override;
    void stop() noexcept override;

private:
    void run() noexcept;
    // Fills the piece buffer; returns the frames produced (fewer at the end of the samples).
    std::size_t produce(std::size_t frames) noexcept;

    VirtualCaptureSource m_source;
    VirtualPacing m_pacing;
    SampleFormat m_format;
    CaptureQueue &m_queue;
    std::size_t m_pieceFrames;
    std::vector<std::byte> m_piece;
    double m_phase = 0.0;
    std::size_t m_position = 0; // byte offset into the samples
    WakeSignal m_wake;
    WorkerThread m_thread;
};

} // namespace corvane::audio
