// The tuner's own figures, taken through the engine the tuner window runs (no device, no thread:
// the benchmark stands in for the capture worker and calls processBlock itself).
//
// tunerCaptureLoad: the capture work on one block (the waiting gain changes, the analysis and the
//   hand-over to the display), at the capture rates and filter lengths the settings offer.
//   Counter `load_pct`: CPU time per block as a percentage of the block's real-time length, the
//   figure the tuner's capture load bar shows. `block_ms`: that real-time length.
//
// tunerOnsetToDisplay: how long after a note begins the wheels show it. A plucked-string tone
//   starts after a stretch of hiss, at eight positions within a block, for each of five notes
//   (E2, A3, A4, E5, E6, 20 cents flat); after every block the display update runs and feeds the
//   twelve wheels as the window does. The reading counts as stable at the first update from which
//   three in a row light the wheel of the note played and read within 5 cents of its pitch.
//   Counters: `blocks_mean`/`blocks_max`, blocks completed from the one holding the onset up to
//   the stable reading; `ms_median`/`ms_mean`/`ms_max`, milliseconds from the onset to the end of
//   that block, when the reading is ready for the display (the window's timer, five updates a
//   second, adds up to 200 ms more); `delay_ms`, the analysis's band delay; `missed`, cases that
//   never settled within 40 blocks. What the player sees: `display_median_ms`/`display_p90_ms`,
//   from the onset to the first tick of the window's five-a-second timer at or after the reading
//   is ready, over eight phases of the timer against the onset (it does not run in step with the
//   sound), the timer's wait included; the sound card's own buffering is not.

#include "ActiveTimeCounter.h"
#include "BlockLength.h"
#include "CPitch.h"
#include "CTCDefs.h"
#include "KeyContext.h"
#include "PinwheelBoard.h"
#include "PitchAnalyzer.h"
#include "PluckedNote.h"
#include "TunerEngine.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

using namespace corvane;
using namespace corvane::tuner;

namespace {

constexpr double kPi = std::numbers::pi;

std::uint32_t filterLengthCode(std::int64_t taps)
{
    return taps == 111 ? 2 : taps == 71 ? 3 : 1;
}

// Everything the engine reads, with the factory settings but for the capture rate, filter
// length and sensitivity; the engine is prepared for them as the tuner window's start does.
struct Rig
{
    Rig(std::int32_t rate, std::int64_t taps, std::uint32_t sensitivity)
    {
        settings.SetCaptureFormat({ 1, rate, 16 });
        settings.SetPlaybackFormat({ 1, rate, 16 });
        settings.SetFilterLength(filterLengthCode(taps));
        settings.SetSensitivity(sensitivity);
        engine = std::make_unique<TunerEngine>(settings, pitch, keys, practice);
        engine->prepareAnalyzer();
        board.Relabel(keys);
    }

    std::int32_t blockLength() const { return engine->captureFormat().blockLength; }

    CTCDefs settings;
    CPitch pitch;
    KeyContext keys;
    ActiveTimeCounter practice { 0 };
    PinwheelBoard board;
    std::unique_ptr<TunerEngine> engine;
};

void putSample(std::vector<std::uint8_t> &bytes, std::size_t i, double x)
{
    const auto v = static_cast<std::uint16_t>(
            static_cast<std::int16_t>(std::lround(std::clamp(x, -1.0, 1.0) * 32767.0)));
    bytes[2 * i] = static_cast<std::uint8_t>(v & 0xff);
    bytes[2 * i + 1] = static_cast<std::uint8_t>(v >> 8);
}

// --- Load ---------------------------------------------------------------------------------------

// Eight blocks of a 220 Hz tone with three partials, so that successive blocks differ.
std::vector<std::uint8_t> toneBlocks(std::int32_t rate, std::int32_t frames, std::int32_t blocks)
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(frames) * blocks * 2);
    for (std::size_t i = 0; i < bytes.size() / 2; ++i) {
        const double t = 2.0 * kPi * 220.0 * static_cast<double>(i) / rate;
        putSample(bytes, i, 0.3 * std::sin(t) + 0.15 * std::sin(2 * t) + 0.1 * std::sin(3 * t));
    }
    return bytes;
}

// CPU seconds this thread has used, the clock the benchmark's CPU column reads too.
double threadCpuSeconds() noexcept
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

void tunerCaptureLoad(benchmark::State &state)
{
    const auto rate = static_cast<std::int32_t>(state.range(0));
    Rig rig(rate, state.range(1), 2);
    const std::int32_t frames = rig.blockLength();
    constexpr std::int32_t kBlocks = 8;
    const std::vector<std::uint8_t> bytes = toneBlocks(rate, frames, kBlocks);

    std::int32_t block = 0;
    const double cpuStart = threadCpuSeconds();
    for (auto _ : state) {
        rig.engine->processBlock(bytes.data() + static_cast<std::size_t>(block) * frames * 2);
        block = (block + 1) % kBlocks;
    }
    const double cpu = threadCpuSeconds() - cpuStart;
    benchmark::DoNotOptimize(rig.engine->update().foldedHz);

    const double blockSeconds = static_cast<double>(frames) / rate;
    state.counters["load_pct"] =
            100.0 * cpu / (blockSeconds * static_cast<double>(state.iterations()));
    state.counters["block_ms"] = 1000.0 * blockSeconds;
}

void loadCases(benchmark::internal::Benchmark *b)
{
    b->ArgNames({ "rate", "taps" });
    for (std::int64_t rate : { 11025, 22050, 44100 })
        for (std::int64_t taps : { 151, 111, 71 })
            b->Args({ rate, taps });
}

// --- Onset to reading ---------------------------------------------------------------------------

constexpr int kLeadBlocks = 8;  // of hiss before the note: more than the longest consensus
constexpr int kNoteBlocks = 40; // at most, after the block that holds the onset
constexpr int kStableUpdates = 3;
constexpr double kToleranceCents = 5.0;
constexpr double kDetuneCents = -20.0;
constexpr int kPhases = 8;                  // onset positions within a block
const int Notes[] = { 40, 57, 69, 76, 88 }; // MIDI: E2, A3, A4, E5, E6

// The plucked string of the tests, as 16-bit samples. `onset` in frames.
std::vector<std::uint8_t> pluckedNote(std::int32_t rate, double hz, std::size_t onset,
                                      std::size_t frames)
{
    const std::vector<double> note = test::pluckedOverHiss(hz, rate, onset, frames);
    std::vector<std::uint8_t> bytes(frames * 2);
    for (std::size_t i = 0; i < frames; ++i)
        putSample(bytes, i, note[i]);
    return bytes;
}

struct Reading
{
    bool settled = false;
    int blocks = 0;  // from the block that holds the onset, that one included
    double ms = 0.0; // from the onset to the end of the block the reading came from
};

// Feeds one note through a fresh engine and wheels and finds the first stable reading.
Reading onsetToReading(std::int32_t rate, std::int64_t taps, std::uint32_t sensitivity, int midi,
                       int phase)
{
    Rig rig(rate, taps, sensitivity);
    const std::size_t length = static_cast<std::size_t>(rig.blockLength());
    const double hz = 440.0 * std::pow(2.0, (midi - 69) / 12.0 + kDetuneCents / 1200.0);
    const std::size_t onset =
            kLeadBlocks * length + length * static_cast<std::size_t>(phase) / kPhases;
    const std::size_t blocks = kLeadBlocks + kNoteBlocks + kStableUpdates;
    const std::vector<std::uint8_t> bytes = pluckedNote(rate, hz, onset, blocks * length);
    const int pitchClass = ((midi - 69) % 12 + 12) % 12; // A-based, as the wheels count

    int run = 0;
    for (std::size_t b = 0; b < blocks; ++b) {
        rig.engine->processBlock(bytes.data() + 2 * b * length);
        const TunerUpdate shown = rig.engine->update();
        rig.board.Update(shown.foldedHz, rig.pitch, rig.keys, rig.settings.GetPitchAdjustCents(),
                         rig.settings.GetPinwheelThresholds());
        bool lit = false;
        for (int d = 0; d < kDegreeCount; ++d) {
            const WheelState &w = rig.board.wheel(d);
            lit = lit || (w.pitchClass() == pitchClass && w.mode() == WheelState::Mode::Active);
        }
        const bool right = lit && shown.readout.shown()
                && std::abs(1200.0 * std::log2(shown.readout.hz() / hz)) <= kToleranceCents;
        run = right && b >= kLeadBlocks ? run + 1 : 0;
        if (run == kStableUpdates) {
            const std::size_t first = b + 1 - kStableUpdates;
            Reading r;
            r.settled = true;
            r.blocks = static_cast<int>(first + 1 - kLeadBlocks);
            r.ms = 1000.0 * (static_cast<double>((first + 1) * length) - static_cast<double>(onset))
                    / rate;
            return r;
        }
    }
    return {};
}

// The display sees a reading `readyMs` after the onset at the first tick of its timer at or after
// that; the timer's ticks fall at `phase` of `phases` through its period after the onset and every
// period from there.
double displayedMs(double readyMs, int phase, int phases)
{
    constexpr double periodMs = 1000.0 / TunerEngine::kUpdatesPerSecond;
    const double first = periodMs * phase / phases;
    return first + periodMs * std::max(0.0, std::ceil((readyMs - first) / periodMs));
}

double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0.0;
    const auto at = static_cast<long>(std::min(values.size() - 1.0, share * values.size()));
    std::nth_element(values.begin(), values.begin() + at, values.end());
    return values[static_cast<std::size_t>(at)];
}

void tunerOnsetToDisplay(benchmark::State &state)
{
    const auto rate = static_cast<std::int32_t>(state.range(0));
    const std::int64_t taps = state.range(1);
    const auto sensitivity = static_cast<std::uint32_t>(state.range(2));

    double blocksSum = 0.0, msSum = 0.0;
    int blocksMax = 0, cases = 0, missed = 0;
    double msMax = 0.0;
    std::vector<double> ms;
    std::vector<double> displayed;
    constexpr int kTimerPhases = 8;
    for (auto _ : state) {
        blocksSum = msSum = msMax = 0.0;
        blocksMax = cases = missed = 0;
        ms.clear();
        displayed.clear();
        for (int midi : Notes)
            for (int phase = 0; phase < kPhases; ++phase) {
                const Reading r = onsetToReading(rate, taps, sensitivity, midi, phase);
                if (!r.settled) {
                    ++missed;
                    continue;
                }
                ++cases;
                blocksSum += r.blocks;
                msSum += r.ms;
                ms.push_back(r.ms);
                for (int tick = 0; tick < kTimerPhases; ++tick)
                    displayed.push_back(displayedMs(r.ms, tick, kTimerPhases));
                blocksMax = std::max(blocksMax, r.blocks);
                msMax = std::max(msMax, r.ms);
            }
    }
    // The engine keeps its analyzer to itself; one prepared the same way tells the band delay.
    const CTCDefs factory;
    PitchAnalyzer analyzer;
    analyzer.configure({ blockLengthForRate(rate), 1, rate, 16 },
                       static_cast<std::int32_t>(filterLengthCode(taps)),
                       static_cast<std::int32_t>(sensitivity));
    analyzer.setLimits(factory.GetLowestNoteHz(), factory.GetHighestNoteHz());

    state.counters["blocks_mean"] = cases ? blocksSum / cases : 0.0;
    state.counters["blocks_max"] = blocksMax;
    state.counters["ms_mean"] = cases ? msSum / cases : 0.0;
    state.counters["ms_max"] = msMax;
    state.counters["ms_median"] = percentile(ms, 0.5);
    state.counters["display_median_ms"] = percentile(displayed, 0.5);
    state.counters["display_p90_ms"] = percentile(displayed, 0.9);
    state.counters["delay_ms"] = 1000.0 * analyzer.getMaxDelay();
    state.counters["missed"] = missed;
}

// Every rate and filter length at the factory sensitivity (a consensus over four blocks); the
// other two sensitivities at the factory filter length.
void latencyCases(benchmark::internal::Benchmark *b)
{
    b->ArgNames({ "rate", "taps", "sensitivity" });
    for (std::int64_t rate : { 11025, 22050, 44100 }) {
        for (std::int64_t taps : { 151, 111, 71 })
            b->Args({ rate, taps, 2 });
        b->Args({ rate, 71, 1 });
        b->Args({ rate, 71, 3 });
    }
}

} // namespace

BENCHMARK(tunerCaptureLoad)->Apply(loadCases);
// Each iteration runs all forty notes; the figures are the same in every iteration.
BENCHMARK(tunerOnsetToDisplay)->Apply(latencyCases)->Iterations(1)->Unit(benchmark::kMillisecond);
