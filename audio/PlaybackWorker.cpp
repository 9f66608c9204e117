#include "PlaybackWorker.h"

#include <algorithm>
#include <cstring>

namespace corvane::audio {

PlaybackWorker::PlaybackWorker(PlaybackBuffer &buffer, BlockRing &ring, BlockSource *source)
    : m_buffer(buffer)
    , m_ring(ring)
    , m_source(source)
{
    m_thread.start(m_buffer.refillNeeded(), [this] { run(); });
}

PlaybackWorker::~PlaybackWorker()
{
    stop();
}

void PlaybackWorker::stop() noexcept
{
    m_thread.stop();
}

void PlaybackWorker::run() noexcept
{
    for (;;) {
        m_buffer.refillNeeded().wait();
        if (m_thread.stopRequested())
            return;
        const int half = m_buffer.pendingHalf();
        if (half >= 0)
            refill(half);
    }
}

void PlaybackWorker::refill(int half) noexcept
{
    const auto halfBytes = static_cast<std::size_t>(m_buffer.halfBytes());
    const auto stagingBytes = std::min(halfBytes, static_cast<std::size_t>(m_ring.blockSize()));
    std::byte *target = m_buffer.half(half);
    std::byte *staging = m_ring.blockAddress(kStagingIndex);
    std::memcpy(target, staging, stagingBytes);
    std::fill(target + stagingBytes, target + halfBytes, m_buffer.format().silenceByte());
    m_buffer.finishRefill(half);
    m_fillHalf.store(half, std::memory_order_release);
    m_refills.fetch_add(1, std::memory_order_release);
    if (m_source)
        m_source->renderBlock(staging, static_cast<std::size_t>(m_ring.blockSize()));
}

} // namespace corvane::audio
