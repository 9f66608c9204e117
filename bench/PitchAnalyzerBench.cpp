// The whole analyzer per result, at the capture rates and block lengths the program uses and at
// each filter length, in the classic and the refined mode, with a result per block (hop 0) and
// per hop (hop 1: a quarter block or less, as the program runs it). Counter `rtf`: seconds of
// audio analyzed per second of CPU.

#include "BlockLength.h"
#include "PitchAnalyzer.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

using namespace corvane;

namespace {

int32_t filterLengthCode(int64_t taps)
{
    return taps == 111 ? 2 : taps == 71 ? 3 : 1;
}

// A few blocks of a 220 Hz tone with three partials as 16-bit mono PCM, so that successive
// blocks differ.
std::vector<uint8_t> toneBlocks(int32_t rate, int32_t frames, int32_t blocks)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(frames) * blocks * 2);
    for (size_t i = 0; i < bytes.size() / 2; ++i) {
        const double t = 2.0 * M_PI * 220.0 * static_cast<double>(i) / rate;
        const double x = 0.3 * std::sin(t) + 0.15 * std::sin(2 * t) + 0.1 * std::sin(3 * t);
        const auto value = static_cast<uint16_t>(static_cast<int16_t>(std::lround(x * 32767)));
        bytes[2 * i] = static_cast<uint8_t>(value & 0xff);
        bytes[2 * i + 1] = static_cast<uint8_t>(value >> 8);
    }
    return bytes;
}

// The factory limits, B0 ... C8, which switch on every stage the rate allows.
void analyze(benchmark::State &state)
{
    const auto rate = static_cast<int32_t>(state.range(0));
    const auto frames = static_cast<int32_t>(state.range(1));
    constexpr int32_t kBlocks = 8;

    PitchAnalyzer analyzer;
    analyzer.setMode(state.range(3) ? PitchAnalyzer::Mode::Refined : PitchAnalyzer::Mode::Classic);
    const int32_t hop = state.range(4) ? hopLengthForRate(rate) : frames;
    analyzer.configure({ frames, 1, rate, 16 }, filterLengthCode(state.range(2)), 2, hop);
    analyzer.setLimits(30.8677, 4186.009);
    const std::vector<uint8_t> bytes = toneBlocks(rate, frames, kBlocks);

    int32_t at = 0;
    const int32_t hops = kBlocks * frames / hop;
    for (auto _ : state) {
        const PitchResult *result =
                analyzer.analyze(bytes.data() + static_cast<size_t>(at) * hop * 2);
        benchmark::DoNotOptimize(result->pitch);
        at = (at + 1) % hops;
    }
    state.counters["rtf"] = benchmark::Counter(static_cast<double>(hop) / rate
                                                       * static_cast<double>(state.iterations()),
                                               benchmark::Counter::kIsRate);
}

void analyzerCases(benchmark::internal::Benchmark *b)
{
    b->ArgNames({ "rate", "frames", "taps", "refined", "hop" });
    const int64_t formats[][2] = {
        { 11025, 1024 }, { 22050, 2048 }, { 44100, 4096 }, { 96000, 8192 }
    };
    for (const auto &format : formats)
        for (int64_t taps : { 151, 111, 71 })
            for (int64_t refined : { 0, 1 })
                for (int64_t hop : { 0, 1 })
                    b->Args({ format[0], format[1], taps, refined, hop });
}

} // namespace

BENCHMARK(analyze)->Apply(analyzerCases);
