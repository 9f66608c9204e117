#include "CaptureQueue.h"

#include <cstring>

namespace corvane::audio {

namespace {

    // Devices deliver 24-bit audio as full-range 32-bit samples; the program keeps the 24-bit
    // value.
    void copyShifted(std::byte *to, const std::byte *from, std::size_t bytes) noexcept
    {
        for (std::size_t i = 0; i + 4 <= bytes; i += 4) {
            int32_t sample;
            std::memcpy(&sample, from + i, 4);
            sample >>= 8;
            std::memcpy(to + i, &sample, 4);
        }
    }

} // namespace

void CaptureQueue::prepare(const SampleFormat &format, int32_t blockBytes, int32_t fifoBlocks)
{
    m_format = format;
    m_blockBytes = blockBytes;
    m_fifo.reset(static_cast<std::size_t>(blockBytes) * static_cast<std::size_t>(fifoBlocks));
    m_overflows.store(0, std::memory_order_relaxed);
    while (m_blockReady.tryWait()) { }
    while (m_spaceFreed.tryWait()) { }
}

void CaptureQueue::push(const void *frames, std::size_t frameCount) noexcept
{
    const std::size_t bytes = frameCount * static_cast<std::size_t>(m_format.frameBytes());
    if (bytes == 0)
        return;
    if (bytes > m_fifo.writable()) {
        m_overflows.fetch_add(1, std::memory_order_relaxed);
        m_blockReady.post();
        return;
    }
    const auto *source = static_cast<const std::byte *>(frames);
    const SpscFifo::Regions regions = m_fifo.writeRegions(bytes);
    if (m_format.bitsPerSample == 24) {
        // Region boundaries fall on whole samples: the capacity is a multiple of the block size.
        copyShifted(regions.first, source, regions.firstSize);
        copyShifted(regions.second, source + regions.firstSize, regions.secondSize);
    } else {
        std::memcpy(regions.first, source, regions.firstSize);
        if (regions.secondSize)
            std::memcpy(regions.second, source + regions.firstSize, regions.secondSize);
    }
    m_fifo.commitWrite(bytes);
    if (m_fifo.readable() >= static_cast<std::size_t>(m_blockBytes))
        m_blockReady.post();
}

std::size_t CaptureQueue::writableFrames() const noexcept
{
    const auto frameBytes = static_cast<std::size_t>(m_format.frameBytes());
    return frameBytes ? m_fifo.writable() / frameBytes : 0;
}

std::size_t CaptureQueue::blocksWaiting() const noexcept
{
    return m_blockBytes > 0 ? m_fifo.readable() / static_cast<std::size_t>(m_blockBytes) : 0;
}

bool CaptureQueue::popBlock(std::byte *out) noexcept
{
    if (!m_fifo.read(out, static_cast<std::size_t>(m_blockBytes)))
        return false;
    m_spaceFreed.post();
    return true;
}

uint64_t CaptureQueue::takeOverflows() noexcept
{
    return m_overflows.exchange(0, std::memory_order_relaxed);
}

} // namespace corvane::audio
