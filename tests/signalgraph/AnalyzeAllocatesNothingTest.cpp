// Counts every allocation of the process; analyze must make none once configured.

#include "PitchAnalyzer.h"
#include "Signals.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {
long allocations = 0;
}

void *operator new(std::size_t size)
{
    ++allocations;
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void *operator new[](std::size_t size)
{
    return operator new(size);
}
void operator delete(void *p) noexcept
{
    std::free(p);
}
void operator delete[](void *p) noexcept
{
    std::free(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void *p, std::size_t) noexcept
{
    std::free(p);
}

using namespace corvane;

TEST(PitchAnalyzer, AnalyzeAllocatesNothing)
{
    for (int32_t rate : { 11025, 96000 }) {
        const int32_t length = rate == 11025 ? 1024 : 8192;
        PitchAnalyzer analyzer;
        analyzer.configure({ length, 2, rate, 16 }, 1, 3);
        analyzer.setLimits(27.5, 5512.5);
        const std::vector<uint8_t> bytes = test::pcm16(
                test::harmonicTone(110.0, rate, static_cast<size_t>(length) * 2, { 1, 0.5, 0.3 }));
        const long before = allocations;
        for (int i = 0; i < 8; ++i)
            analyzer.analyze(bytes.data());
        EXPECT_EQ(allocations, before) << rate << " Hz";
    }
}
