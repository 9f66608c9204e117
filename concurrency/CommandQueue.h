#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace corvane {

// A fixed-size queue of commands from exactly one producer thread to exactly one consumer
// thread: the window pushes settings and voice changes, the audio worker pops and applies them
// between blocks. Lock-free; neither side allocates, waits or throws. When the queue is full,
// push() refuses the command and the producer decides what to do (the window coalesces, or tries
// again at its next tick); a full queue never blocks the worker.
//
// `T` must be trivially copyable (a small struct of numbers), so moving it is a byte copy.
template<typename T, std::size_t Capacity>
class CommandQueue
{
    static_assert(std::is_trivially_copyable_v<T>, "commands are copied as bytes");
    static_assert(Capacity > 0);

public:
    CommandQueue() = default;
    CommandQueue(const CommandQueue &) = delete;
    CommandQueue &operator=(const CommandQueue &) = delete;

    // Producer side: appends `command`, or returns false when the queue is full.
    bool push(const T &command) noexcept
    {
        const std::uint64_t tail = m_tail.load(std::memory_order_relaxed);
        if (tail - m_head.load(std::memory_order_acquire) == Capacity)
            return false;
        m_items[tail % Capacity] = command;
        m_tail.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Consumer side: takes the oldest command into `out`, or returns false when there is none.
    bool pop(T &out) noexcept
    {
        const std::uint64_t head = m_head.load(std::memory_order_relaxed);
        if (head == m_tail.load(std::memory_order_acquire))
            return false;
        out = m_items[head % Capacity];
        m_head.store(head + 1, std::memory_order_release);
        return true;
    }

    // Either side: commands waiting now (a snapshot; the other side may change it at once).
    std::size_t size() const noexcept
    {
        return static_cast<std::size_t>(m_tail.load(std::memory_order_acquire)
                                        - m_head.load(std::memory_order_acquire));
    }
    static constexpr std::size_t capacity() noexcept { return Capacity; }

private:
    std::array<T, Capacity> m_items {};
    // Running counts of commands pushed and popped; 64 bits never wrap in practice.
    alignas(64) std::atomic<std::uint64_t> m_head { 0 };
    alignas(64) std::atomic<std::uint64_t> m_tail { 0 };
};

} // namespace corvane
