#include "SpscFifo.h"

#include <algorithm>
#include <cstring>

namespace corvane {

void SpscFifo::reset(std::size_t capacity)
{
    m_data = std::make_unique<std::byte[]>(capacity);
    m_capacity = capacity;
    m_written.store(0, std::memory_order_relaxed);
    m_read.store(0, std::memory_order_relaxed);
}

SpscFifo::Regions SpscFifo::regionsAt(std::uint64_t position, std::size_t size) noexcept
{
    Regions regions;
    if (m_capacity == 0 || size == 0)
        return regions;
    const std::size_t start = static_cast<std::size_t>(position % m_capacity);
    const std::size_t firstSize = std::min(size, m_capacity - start);
    regions.first = m_data.get() + start;
    regions.firstSize = firstSize;
    if (firstSize < size) {
        regions.second = m_data.get();
        regions.secondSize = size - firstSize;
    }
    return regions;
}

std::size_t SpscFifo::writable() const noexcept
{
    const std::uint64_t written = m_written.load(std::memory_order_relaxed);
    const std::uint64_t read = m_read.load(std::memory_order_acquire);
    return m_capacity - static_cast<std::size_t>(written - read);
}

SpscFifo::Regions SpscFifo::writeRegions(std::size_t size) noexcept
{
    return regionsAt(m_written.load(std::memory_order_relaxed), size);
}

void SpscFifo::commitWrite(std::size_t size) noexcept
{
    m_written.fetch_add(size, std::memory_order_release);
}

bool SpscFifo::write(const std::byte *data, std::size_t size) noexcept
{
    if (size > writable())
        return false;
    const Regions regions = writeRegions(size);
    if (regions.firstSize)
        std::memcpy(regions.first, data, regions.firstSize);
    if (regions.secondSize)
        std::memcpy(regions.second, data + regions.firstSize, regions.secondSize);
    commitWrite(size);
    return true;
}

std::size_t SpscFifo::readable() const noexcept
{
    const std::uint64_t written = m_written.load(std::memory_order_acquire);
    const std::uint64_t read = m_read.load(std::memory_order_relaxed);
    return static_cast<std::size_t>(written - read);
}

SpscFifo::Regions SpscFifo::readRegions(std::size_t size) noexcept
{
    return regionsAt(m_read.load(std::memory_order_relaxed), size);
}

void SpscFifo::commitRead(std::size_t size) noexcept
{
    m_read.fetch_add(size, std::memory_order_release);
}

bool SpscFifo::read(std::byte *out, std::size_t size) noexcept
{
    if (size > readable())
        return false;
    const Regions regions = readRegions(size);
    if (regions.firstSize)
        std::memcpy(out, regions.first, regions.firstSize);
    if (regions.secondSize)
        std::memcpy(out + regions.firstSize, regions.second, regions.secondSize);
    commitRead(size);
    return true;
}

} // namespace corvane
