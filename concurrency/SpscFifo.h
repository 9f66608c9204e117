#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace corvane {

// A lock-free byte queue between exactly one writer thread and exactly one reader thread (an
// audio callback and a worker). The writer never waits: when the bytes do not fit, write()
// refuses them whole. Counts are in bytes. The storage is allocated by reset(), never by the
// transfer calls.
class SpscFifo
{
public:
    // Two pieces of the storage in queue order; the second is empty unless the span wraps.
    struct Regions
    {
        std::byte *first = nullptr;
        std::size_t firstSize = 0;
        std::byte *second = nullptr;
        std::size_t secondSize = 0;
    };

    SpscFifo() = default;
    SpscFifo(const SpscFifo &) = delete;
    SpscFifo &operator=(const SpscFifo &) = delete;

    // Allocates `capacity` bytes and empties the queue. Neither side may be running.
    void reset(std::size_t capacity);

    std::size_t capacity() const noexcept { return m_capacity; }

    // Writer side. writeRegions(n) with n <= writable() gives the space to fill; commitWrite(n)
    // publishes it. write() copies all of `size` bytes or, when they do not fit, none.
    std::size_t writable() const noexcept;
    Regions writeRegions(std::size_t size) noexcept;
    void commitWrite(std::size_t size) noexcept;
    bool write(const std::byte *data, std::size_t size) noexcept;

    // Reader side, the mirror image. read() copies all of `size` bytes or, when fewer are
    // queued, none.
    std::size_t readable() const noexcept;
    Regions readRegions(std::size_t size) noexcept;
    void commitRead(std::size_t size) noexcept;
    bool read(std::byte *out, std::size_t size) noexcept;

private:
    Regions regionsAt(std::uint64_t position, std::size_t size) noexcept;

    std::unique_ptr<std::byte[]> m_data;
    std::size_t m_capacity = 0;
    // Running totals of bytes written and read; they never wrap in practice (64 bits).
    alignas(64) std::atomic<std::uint64_t> m_written { 0 };
    alignas(64) std::atomic<std::uint64_t> m_read { 0 };
};

} // namespace corvane
