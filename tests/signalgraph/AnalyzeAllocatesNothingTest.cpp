// Counts the allocations of the analysing thread; analyze must make none once configured.

#include "CountingAllocator.h"
#include "PitchAnalyzer.h"
#include "Signals.h"

#include <gtest/gtest.h>

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
        test::allocationsCounted(true);
        test::countAllocationsOnThisThread();
        for (int i = 0; i < 8; ++i)
            analyzer.analyze(bytes.data());
        test::countAllocationsOnThisThread(false);
        EXPECT_EQ(test::allocationsCounted(), 0) << rate << " Hz";
    }
}
