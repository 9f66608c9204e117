#pragma once

#include <cstdint>

namespace corvane::tuner {

// Decides when to tell the user that the analysis cannot keep up with the sound card. The
// capture worker counts its overruns (blocks that piled up while one was analyzed, or input
// the queue had no room for); the display passes that running total here at every update.
// The first warning of a tuner window comes after 50 overruns, each later one after another 300,
// so a machine that falls behind now and then is not nagged.
//
// User-interface thread only; allocates nothing.
class OverrunCounter
{
public:
    static constexpr int kFirstWarning = 50;
    static constexpr int kWarningInterval = 300;

    // `total`: the overruns of the current capture run so far. A total below the last one means
    // a new run has started (the devices were restarted), which counts from its own 0.
    // True when the warning is due now.
    bool observe(std::uint64_t total) noexcept;

    // Overruns still to come before the next warning.
    int remaining() const noexcept { return kWarningInterval - m_count; }

private:
    int m_count = kWarningInterval - kFirstWarning;
    std::uint64_t m_lastTotal = 0;
};

} // namespace corvane::tuner
