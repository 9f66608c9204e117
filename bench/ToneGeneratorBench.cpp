// The tone generator renders the reference tones on the playback thread: one second of twelve
// voices must take a small fraction of a second.

#include "ToneGenerator.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr int32_t kRate = 44100;

// Twelve voices on, one per semitone from middle C, cycling through the four waveforms.
void allVoicesOn(corvane::ToneGenerator &tones)
{
    for (int32_t id = 0; id < corvane::ToneGenerator::kVoiceCount; ++id) {
        tones.setGeneratorFrequency(id, 261.6255653 * std::pow(2.0, id / 12.0));
        tones.setGeneratorWaveform(id, 1 + id % 4);
        tones.setGeneratorLevel(id, 1.0);
        tones.generatorOn(id);
    }
}

// One second of 16-bit mono at 44.1 kHz in blocks of `range(0)` frames (the last block may run
// past the second).
void toneGeneratorOneSecond(benchmark::State &state)
{
    const auto blockLength = static_cast<int32_t>(state.range(0));
    const int64_t blocks = (kRate + blockLength - 1) / blockLength;
    const corvane::PcmFormat format { blockLength, 1, kRate, 16 };
    std::vector<uint8_t> buffer(static_cast<std::size_t>(format.blockBytes()));
    corvane::ToneGenerator tones;
    tones.setup(format, buffer.data());
    allVoicesOn(tones);

    for (auto _ : state) {
        for (int64_t b = 0; b < blocks; ++b)
            tones.generate();
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    const int64_t frames = blocks * blockLength;
    state.SetItemsProcessed(state.iterations() * frames);
    // Seconds of sound rendered per second of processor time.
    state.counters["realtime"] = benchmark::Counter(
            static_cast<double>(state.iterations() * frames) / kRate, benchmark::Counter::kIsRate);
}

} // namespace

// 4096 frames is the analysis block at 44.1 kHz; the tuner's playback block is a whole second.
BENCHMARK(toneGeneratorOneSecond)->Arg(4096)->Arg(kRate)->Unit(benchmark::kMillisecond);
