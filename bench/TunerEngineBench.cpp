// The tuner's own figures, taken through the engine the tuner window runs (no device, no thread:
// the benchmark stands in for the capture worker and calls processBlock itself).
//
// tunerCaptureLoad: the capture work on one captured block (one hop of the analyzer's window, or
//   one block when the analyzer takes no shorter hop: the waiting gain changes, the analysis and
//   the hand-over to the display), at the capture rates and filter lengths the settings offer.
//   Counter `load_pct`: CPU time per block as a percentage of the block's real-time length, the
//   figure the tuner's capture load bar shows. `block_ms`: that real-time length.
//
// tunerOnsetToDisplay: how long after a note begins the wheel and the readout show it, through
//   the window's own update path. A plucked-string tone starts after a stretch of hiss, at eight
//   positions within a captured block, for each of seven notes (E1, E2, G2, A3, A4, E5, E6, 20
//   cents flat), with the full range of notes (B0 to C8) as the limits. The captured blocks are
//   analyzed as the capture worker does; the display then runs as the window's timer runs it,
//   sixty updates a second (or five, `display=1`, the classic display), at eight phases of its
//   timer against the onset, each update taking the newest result ready by then and feeding the
//   wheels with the time since the last. The note counts as shown at the first update from which,
//   for a tenth of a second (a fifth in the classic display: two more of its updates), the wheel
//   of the note played is lit and the readout reads within 5 cents of its pitch. Counters, in
//   milliseconds from the onset to that update, the display's wait included (the sound card's own
//   buffering is not): `median_ms`/`p90_ms` over the notes from 100 Hz up (A3 ... E6),
//   `low_median_ms`/`low_p90_ms` over the low ones (E1, E2, G2); `ready_median_ms`, the same
//   before the display's wait (the first result from which the reading stays right); `hop_ms`,
//   the time between results; `delay_ms`, the analysis's band delay; `missed`, cases that never
//   settled within two seconds.

#include "ActiveTimeCounter.h"
#include "BlockLength.h"
#include "CPitch.h"
#include "CTCDefs.h"
#include "InstrumentPresets.h"
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
        // Every note the tuner is meant to read, B0 to C8.
        settings.SetLowestNoteHz(kFactoryLowestNoteHz);
        settings.SetHighestNoteHz(kFactoryHighestNoteHz);
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

// --- Onset to display ---------------------------------------------------------------------------

constexpr int kLeadWindows = 8; // of hiss before the note: more than the longest consensus
constexpr double kNoteSeconds = 2.0;
constexpr double kToleranceCents = 5.0;
constexpr double kDetuneCents = -20.0;
constexpr int kOnsetPhases = 8;                     // onset positions within a captured block
constexpr int kTimerPhases = 8;                     // of the display's timer against the onset
const int Notes[] = { 28, 40, 43, 57, 69, 76, 88 }; // MIDI: E1, E2, G2, A3, A4, E5, E6

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

// What the capture worker handed the display, one result per captured block, with the time (ms
// after the onset) when the block was complete.
struct Capture
{
    std::vector<PitchResult> results;
    std::vector<double> readyMs;
    double hopMs = 0.0;
};

Capture captureNote(Rig &rig, double hz, int phase)
{
    const auto rate = double(rig.settings.GetCaptureFormat().sampleRate);
    const std::size_t hop = static_cast<std::size_t>(rig.blockLength());
    const std::size_t window = static_cast<std::size_t>(rig.engine->windowLength());
    const std::size_t onset =
            kLeadWindows * window + hop * static_cast<std::size_t>(phase) / kOnsetPhases;
    const std::size_t blocks = (onset + std::size_t(kNoteSeconds * rate)) / hop + 1;
    const std::vector<std::uint8_t> bytes = pluckedNote(int(rate), hz, onset, blocks * hop);
    Capture capture;
    capture.hopMs = 1000.0 * double(hop) / rate;
    for (std::size_t b = 0; b < blocks; ++b) {
        rig.engine->processBlock(bytes.data() + 2 * b * hop);
        // This engine's display side only takes the result over; another one shows it.
        rig.engine->update(TunerEngine::Micros { 0 });
        capture.results.push_back(rig.engine->lastResult());
        capture.readyMs.push_back(1000.0 * (double((b + 1) * hop) - double(onset)) / rate);
    }
    return capture;
}

// The display's updates at `intervalMs`, the first `firstMs` after the onset (from before it, so
// that the wheels run in); each takes the newest result ready by then through the engine and the
// wheels as the window does. Returns the milliseconds from the onset to the first update from
// which the note shows for `stableMs`, or a negative value when it never does.
double displayNote(const Capture &capture, double hz, int midi, double intervalMs, double firstMs,
                   bool classic)
{
    Rig display(44100, 71, 2);
    display.board.SetHoldBesideNewNote(classic);
    const double stableMs = classic ? 2 * intervalMs : 100.0;
    const int pitchClass = ((midi - 69) % 12 + 12) % 12; // A-based, as the wheels count
    const auto elapsed = TunerEngine::Micros { std::llround(1000.0 * intervalMs) };
    std::size_t next = 0;
    double shownFrom = -1.0;
    for (double t = firstMs - 1000.0; t < capture.readyMs.back(); t += intervalMs) {
        bool fresh = false;
        while (next < capture.readyMs.size() && capture.readyMs[next] <= t) {
            display.engine->publishResult(capture.results[next++]);
            fresh = true;
        }
        if (!fresh && next == 0)
            continue;
        const TunerUpdate shown = display.engine->update(elapsed);
        display.board.Update(shown.foldedHz, display.pitch, display.keys,
                             display.settings.GetPitchAdjustCents(),
                             display.settings.GetPinwheelThresholds(), shown.elapsed, shown.fresh);
        bool lit = false;
        for (int d = 0; d < kDegreeCount; ++d) {
            const WheelState &w = display.board.wheel(d);
            lit = lit || (w.pitchClass() == pitchClass && w.mode() == WheelState::Mode::Active);
        }
        const bool right = t >= 0.0 && lit && shown.readout.shown()
                && std::abs(1200.0 * std::log2(shown.readout.hz() / hz)) <= kToleranceCents;
        if (!right)
            shownFrom = -1.0;
        else if (shownFrom < 0.0)
            shownFrom = t;
        else if (t - shownFrom >= stableMs - 1e-9)
            return shownFrom;
    }
    return -1.0;
}

// The first result from which every result for `stableMs` reads the note right, in ms after the
// onset; negative when none does.
double readyNote(const Capture &capture, double hz, double stableMs)
{
    Rig display(44100, 71, 2);
    double from = -1.0;
    for (std::size_t i = 0; i < capture.results.size(); ++i) {
        display.engine->publishResult(capture.results[i]);
        const TunerUpdate shown = display.engine->update(TunerEngine::Micros { 0 });
        const bool right = capture.readyMs[i] >= 0.0 && shown.readout.shown()
                && std::abs(1200.0 * std::log2(shown.readout.hz() / hz)) <= kToleranceCents;
        if (!right)
            from = -1.0;
        else if (from < 0.0)
            from = capture.readyMs[i];
        else if (capture.readyMs[i] - from >= stableMs - 1e-9)
            return from;
    }
    return -1.0;
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
    const bool classic = state.range(3) != 0;
    const double intervalMs = 1000.0
            / (classic ? TunerEngine::kUpdatesPerSecond : TunerEngine::kSmoothUpdatesPerSecond);

    std::vector<double> shown, low, ready;
    int missed = 0;
    double hopMs = 0.0, delayMs = 0.0;
    for (auto _ : state) {
        shown.clear();
        low.clear();
        ready.clear();
        missed = 0;
        for (int midi : Notes) {
            const double hz = 440.0 * std::pow(2.0, (midi - 69) / 12.0 + kDetuneCents / 1200.0);
            for (int phase = 0; phase < kOnsetPhases; ++phase) {
                Rig rig(rate, taps, sensitivity);
                const Capture capture = captureNote(rig, hz, phase);
                hopMs = capture.hopMs;
                const double readyMs = readyNote(capture, hz, classic ? 2 * intervalMs : 100.0);
                if (readyMs >= 0.0)
                    ready.push_back(readyMs);
                for (int tick = 0; tick < kTimerPhases; ++tick) {
                    const double ms = displayNote(capture, hz, midi, intervalMs,
                                                  intervalMs * tick / kTimerPhases, classic);
                    if (ms < 0.0)
                        ++missed;
                    else
                        (hz < 100.0 ? low : shown).push_back(ms);
                }
            }
        }
    }
    // The engine keeps its analyzer to itself; one prepared the same way tells the band delay.
    PitchAnalyzer analyzer;
    analyzer.configure({ blockLengthForRate(rate), 1, rate, 16 },
                       static_cast<std::int32_t>(filterLengthCode(taps)),
                       static_cast<std::int32_t>(sensitivity));
    analyzer.setLimits(kFactoryLowestNoteHz, kFactoryHighestNoteHz);
    delayMs = 1000.0 * analyzer.getMaxDelay();

    state.counters["median_ms"] = percentile(shown, 0.5);
    state.counters["p90_ms"] = percentile(shown, 0.9);
    state.counters["low_median_ms"] = percentile(low, 0.5);
    state.counters["low_p90_ms"] = percentile(low, 0.9);
    state.counters["ready_median_ms"] = percentile(ready, 0.5);
    state.counters["hop_ms"] = hopMs;
    state.counters["delay_ms"] = delayMs;
    state.counters["missed"] = missed;
}

// Every rate and filter length at the factory sensitivity (a consensus over four) in the smooth
// display; at the factory filter length, the other two sensitivities and the classic display.
void latencyCases(benchmark::internal::Benchmark *b)
{
    b->ArgNames({ "rate", "taps", "sensitivity", "display" });
    for (std::int64_t rate : { 11025, 22050, 44100 }) {
        for (std::int64_t taps : { 151, 111, 71 })
            b->Args({ rate, taps, 2, 0 });
        b->Args({ rate, 71, 1, 0 });
        b->Args({ rate, 71, 3, 0 });
        b->Args({ rate, 71, 2, 1 });
    }
}

} // namespace

BENCHMARK(tunerCaptureLoad)->Apply(loadCases);
// Each iteration runs every note; the figures are the same in every iteration.
BENCHMARK(tunerOnsetToDisplay)->Apply(latencyCases)->Iterations(1)->Unit(benchmark::kMillisecond);
