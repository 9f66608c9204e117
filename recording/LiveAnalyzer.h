#pragma once

#include "AnalysisSettings.h"
#include "BlockSink.h"
#include "CommandQueue.h"
#include "LiveRows.h"
#include "PcmFormat.h"
#include "PitchAnalyzer.h"
#include "WakeSignal.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>

namespace corvane {

// The analysis of live capture: the block sink the capture worker hands each block to. It
// analyzes the block (a hop of hopFrames() frames: the window it reads is `format`'s block) as
// the analysis of a file would (the same settings, the same ceiling) and
// queues the reading for one other thread, which takes it with take().
//
// Life: constructed (which prepares the analyzer and allocates) before the capture opens with
// it as the sink, destroyed after the capture has stopped. onBlock runs on the capture worker:
// it never waits, locks or allocates. take and dropped run on one other thread (the command's
// main thread, the dialog's user-interface thread). When that thread falls more than
// kQueuedReadings blocks behind, the newest readings are dropped and counted.
class LiveAnalyzer final : public audio::BlockSink
{
public:
    // About six seconds of hops at the shortest hop.
    static constexpr std::size_t kQueuedReadings = 256;

    // Throws the analyzer's errors for a format or limits it refuses.
    LiveAnalyzer(const PcmFormat &format, const AnalysisSettings &settings);

    void onBlock(const std::byte *block, std::size_t bytes,
                 std::uint64_t position) noexcept override;

    // The oldest reading not yet taken; false when there is none.
    bool take(BlockReading &reading) noexcept { return m_readings.pop(reading); }
    // Sleeps until a reading has been queued since the last wait (true) or the deadline passes
    // (false). The thread that takes calls it.
    bool waitForReading(std::chrono::steady_clock::time_point deadline) noexcept
    {
        return m_queued.waitUntil(deadline);
    }
    std::uint64_t dropped() const noexcept { return m_dropped.load(std::memory_order_relaxed); }
    // Seconds by which each reading lags the sound it describes (the analyzer's maxDelay).
    double delaySeconds() const noexcept { return m_delaySeconds; }
    // Seconds of sound between readings: a hop, or a block with AnalysisSettings::blockHop.
    double blockSeconds() const noexcept { return m_blockSeconds; }
    // Frames of each block the capture must hand over (the analyzer's hop).
    std::int32_t hopFrames() const noexcept { return m_analyzer.hopLength(); }

private:
    PitchAnalyzer m_analyzer;
    std::size_t m_blockBytes = 0;
    double m_ceilingHz = 0.0;
    double m_delaySeconds = 0.0;
    double m_blockSeconds = 0.0;
    CommandQueue<BlockReading, kQueuedReadings> m_readings;
    std::atomic<std::uint64_t> m_dropped { 0 };
    audio::WakeSignal m_queued; // posted by onBlock, which neither locks nor allocates for it
};

} // namespace corvane
