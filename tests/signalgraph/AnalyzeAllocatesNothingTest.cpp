// Counts the allocations of the threads that run a graph per block: the analyzer on the capture
// thread and the tone generator on the playback thread must make none once set up.

#include "CountingAllocator.h"
#include "PitchAnalyzer.h"
#include "Signals.h"
#include "ToneGenerator.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(PitchAnalyzer, AnalyzeAllocatesNothing)
{
    // The last two with a result every hop: the down-sampler, the onsets and the cut windows.
    struct Case
    {
        int32_t rate;
        PitchAnalyzer::Mode mode;
        int32_t hop;
    };
    for (auto [rate, mode, hop] : { Case { 11025, PitchAnalyzer::Mode::Refined, 0 },
                                    Case { 96000, PitchAnalyzer::Mode::Refined, 0 },
                                    Case { 11025, PitchAnalyzer::Mode::Classic, 0 },
                                    Case { 11025, PitchAnalyzer::Mode::Refined, 256 },
                                    Case { 96000, PitchAnalyzer::Mode::Refined, 2048 } }) {
        const int32_t length = rate == 11025 ? 1024 : 8192;
        PitchAnalyzer analyzer;
        analyzer.setMode(mode);
        analyzer.configure({ length, 2, rate, 16 }, 1, 3, hop);
        analyzer.setLimits(27.5, 5512.5);
        const std::vector<uint8_t> bytes = test::pcm16(
                test::harmonicTone(110.0, rate, static_cast<size_t>(length) * 2, { 1, 0.5, 0.3 }));
        // Silence, then the tone: an onset, and a window cut to it.
        const std::vector<uint8_t> silence(bytes.size(), 0);
        test::allocationsCounted(true);
        test::countAllocationsOnThisThread();
        for (int i = 0; i < 8; ++i)
            analyzer.analyze(i < 3 ? silence.data() : bytes.data());
        test::countAllocationsOnThisThread(false);
        EXPECT_EQ(test::allocationsCounted(), 0) << rate << " Hz";
    }
}

TEST(ToneGenerator, GenerateAllocatesNothing)
{
    ToneGenerator tones;
    const PcmFormat format { 4096, 2, 44100, 16 };
    std::vector<uint8_t> block(static_cast<size_t>(format.blockBytes()));
    tones.setup(format, block.data());
    for (int32_t id = 0; id < 12; ++id) {
        tones.setGeneratorFrequency(id, 110.0 * (1 + id));
        tones.setGeneratorWaveform(id, 1 + id % 4);
        tones.setGeneratorLevel(id, 0.5);
        tones.generatorOn(id);
    }
    test::allocationsCounted(true);
    test::countAllocationsOnThisThread();
    for (int i = 0; i < 8; ++i)
        tones.generate();
    test::countAllocationsOnThisThread(false);
    EXPECT_EQ(test::allocationsCounted(), 0);
}
