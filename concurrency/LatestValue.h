#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <type_traits>

namespace corvane {

// A latest-value mailbox between exactly one writer thread and exactly one reader thread: the
// writer publishes whole records as often as it likes and never waits; the reader takes the most
// recent one whenever it looks, always a whole record, never one that is half old and half new.
// Records the reader was too slow to see are simply replaced. This is how the capture worker
// hands each block's result to the window's display timer.
//
// A triple buffer: the writer fills its own slot, then swaps it with the shared middle slot in
// one atomic exchange that also marks the middle as fresh; the reader swaps the middle with its
// own slot only when it is fresh. No slot is ever touched by both threads at once.
//
// `T` must be trivially copyable, so that publishing copies bytes and never allocates (the
// writer is a real-time thread). Neither side allocates, locks or throws.
template<typename T>
class LatestValue
{
    static_assert(std::is_trivially_copyable_v<T>,
                  "the writer must be able to copy without allocating");

public:
    LatestValue() = default;
    LatestValue(const LatestValue &) = delete;
    LatestValue &operator=(const LatestValue &) = delete;

    // Writer side: makes `value` the latest record.
    void publish(const T &value) noexcept
    {
        m_slots[m_back] = value;
        const std::uint8_t previous = m_middle.exchange(static_cast<std::uint8_t>(m_back | kFresh),
                                                        std::memory_order_acq_rel);
        m_back = previous & kIndex;
    }

    // Reader side: copies the latest record into `out` and returns true, or returns false and
    // leaves `out` alone when nothing has been published yet.
    bool read(T &out) noexcept
    {
        takeFresh();
        if (!m_anyRead)
            return false;
        out = m_slots[m_front];
        return true;
    }

    // Reader side: the latest record, or a value-initialized T before the first publish.
    T latest() noexcept
    {
        T value {};
        read(value);
        return value;
    }

    // Reader side: whether a record has been published since the reader last looked.
    bool hasFresh() const noexcept
    {
        return (m_middle.load(std::memory_order_acquire) & kFresh) != 0;
    }

private:
    static constexpr std::uint8_t kIndex = 0x3;
    static constexpr std::uint8_t kFresh = 0x4;

    void takeFresh() noexcept
    {
        if (!(m_middle.load(std::memory_order_relaxed) & kFresh))
            return;
        const std::uint8_t previous = m_middle.exchange(m_front, std::memory_order_acq_rel);
        m_front = previous & kIndex;
        m_anyRead = true;
    }

    std::array<T, 3> m_slots {};
    std::uint8_t m_back = 0;                  // the writer's slot
    std::atomic<std::uint8_t> m_middle { 1 }; // the shared slot, with the fresh mark
    std::uint8_t m_front = 2;                 // the reader's slot
    bool m_anyRead = false;                   // reader's own
};

} // namespace corvane
