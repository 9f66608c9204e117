#include "CaptureWorker.h"

#include "DebugLog.h"

#include <algorithm>

namespace corvane::audio {

CaptureWorker::CaptureWorker(CaptureQueue &queue, BlockRing &ring, BlockSink &sink)
    : m_queue(queue)
    , m_ring(ring)
    , m_sink(sink)
{
    m_thread.start(m_queue.blockReady(), [this] { run(); });
}

CaptureWorker::~CaptureWorker()
{
    stop();
}

void CaptureWorker::beginRun(RecordingFile *file, uint64_t maxBytes) noexcept
{
    m_ring.reset();
    m_writeBlock = m_ring.newestIndex();
    m_position = 0;
    const int32_t frameBytes = m_queue.format().frameBytes();
    m_blockFrames = frameBytes > 0 ? static_cast<uint64_t>(m_queue.blockBytes() / frameBytes) : 0;
    m_maxBytes = maxBytes;
    m_bytesRecorded = 0;
    m_bytesLost = 0;
    m_limitReached = false;
    m_recordingFailed.store(false, std::memory_order_relaxed);
    m_blocks.store(0, std::memory_order_relaxed);
    m_recordingPaused.store(false, std::memory_order_relaxed);
    m_file.store(file, std::memory_order_release);
}

void CaptureWorker::stop() noexcept
{
    m_thread.stop();
}

bool CaptureWorker::running() const noexcept
{
    return m_thread.running();
}

void CaptureWorker::run() noexcept
{
    for (;;) {
        m_queue.blockReady().wait();
        if (m_thread.stopRequested()) {
            if (m_file.load(std::memory_order_acquire))
                drain();
            return;
        }
        drain();
    }
}

void CaptureWorker::drain() noexcept
{
    // Everything beginRun() set is visible here: it published the file pointer last, with
    // release, before the device started.
    m_file.load(std::memory_order_acquire);
    while (m_queue.blocksWaiting() > 0) {
        std::byte *block = m_ring.blockAddress(m_writeBlock);
        if (!m_queue.popBlock(block))
            break;
        record(block);
        m_sink.onBlock(block, static_cast<std::size_t>(m_queue.blockBytes()), m_position);
        m_position += m_blockFrames;
        m_ring.advance(m_writeBlock);
        m_blocks.fetch_add(1, std::memory_order_release);
        if (m_queue.blocksWaiting() > 1)
            m_overruns.fetch_add(1, std::memory_order_relaxed);
    }
    if (const uint64_t overflows = m_queue.takeOverflows())
        m_overruns.fetch_add(overflows, std::memory_order_relaxed);
}

void CaptureWorker::record(const std::byte *block) noexcept
{
    RecordingFile *file = m_file.load(std::memory_order_relaxed);
    if (!file || m_limitReached || m_bytesLost > 0
        || m_recordingPaused.load(std::memory_order_relaxed))
        return;
    const auto size = static_cast<std::size_t>(m_queue.blockBytes());
    if (m_bytesRecorded + size > std::min(m_maxBytes, file->capacity())) {
        // One block more and the file's sizes would no longer fit: end the recording here, with
        // a file that is complete up to this block.
        m_limitReached = true;
        debugLog("Recording stopped: the wave file is full");
        return;
    }
    std::size_t written = 0;
    const bool ok = file->write(block, size, written);
    m_bytesRecorded += written;
    if (!ok) {
        // A full disk ends the take here: what came before stays whole and valid in the file,
        // and the window, which asks recordingFailed(), stops the recording and says so.
        // Going on would leave holes the listener cannot hear were there.
        debugLog("Failure writing data to file\n");
        m_bytesLost += size - written;
        m_recordingFailed.store(true, std::memory_order_release);
    }
}

} // namespace corvane::audio
