// The band splitter alone, one stage at the input rate: the analyzer's hot path.

#include "FIRHiLoFilter.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using namespace corvane;

namespace {

// Feeds one stage through its pins; the outputs end at unconnected pins.
void splitStage(benchmark::State &state)
{
    const double rate = static_cast<double>(state.range(0));
    const auto length = static_cast<int32_t>(state.range(1));
    const auto taps = static_cast<int32_t>(state.range(2));

    OutputPin source;
    source.setFormat({ length, rate });
    FIRHiLoFilter stage;
    stage.design(16, taps, FIRHiLoFilter::kHamming);
    source.connect(stage.inputPin(1));
    float *block = source.media()->buffer();
    for (int32_t i = 0; i < length; ++i)
        block[i] = static_cast<float>(0.5 * std::sin(0.05 * i));

    for (auto _ : state) {
        source.deliver();
        source.clearReady();
        source.media()->position += length;
        benchmark::DoNotOptimize(stage.outputPin(3)->media()->buffer());
    }
    state.counters["rtf"] =
            benchmark::Counter(length / rate * state.iterations(), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(splitStage)
        ->ArgNames({ "rate", "frames", "taps" })
        ->Args({ 44100, 4096, 151 })
        ->Args({ 44100, 4096, 71 });
