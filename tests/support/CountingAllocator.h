#pragma once

// Replaces the program's global operator new and delete so that a test can count the heap
// allocations made on the threads that opt in, and the bytes that operator new holds live on
// every thread. Include it in exactly one source file of a test program, and give that program no
// other source that replaces operator new.

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace corvane::test {

inline thread_local bool t_countAllocations = false;
inline std::atomic<long> g_allocationCount { 0 };
inline std::atomic<long long> g_liveBytes { 0 };

// From now on, counts the allocations made on the calling thread (or stops counting them).
inline void countAllocationsOnThisThread(bool on = true) noexcept
{
    t_countAllocations = on;
}

// The allocations counted so far, on every thread that opted in; `reset` starts again at 0.
inline long allocationsCounted(bool reset = false) noexcept
{
    return reset ? g_allocationCount.exchange(0) : g_allocationCount.load();
}

// The bytes operator new holds now, on every thread (as the allocator rounds them up).
inline long long liveBytes() noexcept
{
    return g_liveBytes.load();
}

inline void *countedAllocation(std::size_t size)
{
    if (t_countAllocations)
        g_allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void *p = std::malloc(size ? size : 1)) {
        g_liveBytes.fetch_add(static_cast<long long>(malloc_usable_size(p)),
                              std::memory_order_relaxed);
        return p;
    }
    throw std::bad_alloc();
}

inline void countedFree(void *p) noexcept
{
    if (p)
        g_liveBytes.fetch_sub(static_cast<long long>(malloc_usable_size(p)),
                              std::memory_order_relaxed);
    std::free(p);
}

} // namespace corvane::test

void *operator new(std::size_t size)
{
    return corvane::test::countedAllocation(size);
}
void *operator new[](std::size_t size)
{
    return corvane::test::countedAllocation(size);
}
void operator delete(void *p) noexcept
{
    corvane::test::countedFree(p);
}
void operator delete[](void *p) noexcept
{
    corvane::test::countedFree(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    corvane::test::countedFree(p);
}
void operator delete[](void *p, std::size_t) noexcept
{
    corvane::test::countedFree(p);
}
