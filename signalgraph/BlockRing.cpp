#include "BlockRing.h"

#include <algorithm>
#include <stdexcept>

namespace corvane {

BlockRing::BlockRing()
{
    resize(2240, 75);
}

void BlockRing::resize(int32_t size, int32_t count, std::byte silence)
{
    if (size <= 0 || count <= 0)
        throw std::invalid_argument("invalid ring size");
    const std::size_t bytes = static_cast<std::size_t>(size) * static_cast<std::size_t>(count);
    auto data = std::make_unique<std::byte[]>(bytes);
    std::fill_n(data.get(), bytes, silence);
    m_data = std::move(data);
    m_blockSize = size;
    m_blockCount = count;
    reset();
}

void BlockRing::reset() noexcept
{
    m_oldest = 0;
    m_newest = 0;
}

std::byte *BlockRing::blockAddress(int32_t index) noexcept
{
    return m_data.get() + static_cast<std::ptrdiff_t>(m_blockSize) * index;
}

const std::byte *BlockRing::blockAddress(int32_t index) const noexcept
{
    return m_data.get() + static_cast<std::ptrdiff_t>(m_blockSize) * index;
}

int32_t BlockRing::nextIndex(int32_t index) const noexcept
{
    // A reader standing on the block being written (an empty ring) stays there too, rather
    // than stepping onto stale blocks ahead of the writer.
    if (index == m_newest)
        return index;
    const int32_t next = (index + 1) % m_blockCount;
    return next == m_newest ? index : next;
}

void BlockRing::advance(int32_t &writer) noexcept
{
    if (writer != m_newest)
        return;
    m_newest = (m_newest + 1) % m_blockCount;
    if (m_newest == m_oldest)
        m_oldest = (m_oldest + 1) % m_blockCount;
    writer = m_newest;
}

} // namespace corvane
