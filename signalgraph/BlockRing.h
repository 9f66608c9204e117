#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace corvane {

// A ring of equal byte blocks between one writer (the capture or playback worker) and the
// readers of what it wrote. The writer fills block `newestIndex()` and then calls advance();
// once the ring is full every further block drops the oldest one. Readers walk from
// `oldestIndex()` with nextIndex(), which never passes the block being written.
//
// Not thread-safe by itself: the indices move only on the writer's thread. Other threads read
// the ring only while the writer is stopped (its thread joined), or from inside the block sink
// the writer hands each block to.
class BlockRing
{
public:
    // 75 blocks of 2240 bytes of silence until the owner resizes it.
    BlockRing();

    // Replaces the storage with `count` blocks of `size` bytes, all set to `silence`. Allocates;
    // only while the writer is stopped.
    void resize(int32_t size, int32_t count, std::byte silence = std::byte { 0 });
    // Forgets every block: oldest = newest = 0. Contents stay as they are.
    void reset() noexcept;

    std::byte *blockAddress(int32_t index) noexcept;
    const std::byte *blockAddress(int32_t index) const noexcept;

    int32_t blockSize() const noexcept { return m_blockSize; }
    int32_t blockCount() const noexcept { return m_blockCount; }
    int32_t oldestIndex() const noexcept { return m_oldest; }
    int32_t newestIndex() const noexcept { return m_newest; }

    // The block after `index`, or `index` itself when the next one is the block being written
    // or `index` is that block.
    int32_t nextIndex(int32_t index) const noexcept;

    // Ends the writer's block: when `writer` is the newest index the ring moves on by one
    // (dropping the oldest block when full) and `writer` becomes the new newest index;
    // otherwise nothing happens.
    void advance(int32_t &writer) noexcept;

private:
    int32_t m_blockSize = 0;
    int32_t m_blockCount = 0;
    int32_t m_oldest = 0;
    int32_t m_newest = 0;
    std::unique_ptr<std::byte[]> m_data;
};

} // namespace corvane
