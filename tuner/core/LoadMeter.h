#pragma once

#include <atomic>

namespace corvane::tuner {

// How much of the real time the capture and the playback work take: each worker adds the
// milliseconds it was busy with a block and the milliseconds of audio that block holds; the
// display takes the ratio every two seconds and starts again. A ratio of 1.0 means the work took
// as long as the audio it handled.
//
// addCapture is the capture worker's, addPlayback the playback worker's, the loads the
// user-interface thread's; all of them at once is fine. Lock-free, never allocates or waits. A
// block added while the display takes its ratio may count in this period or the next one.
class LoadMeter
{
public:
    void addCapture(double busyMs, double budgetMs) noexcept;
    void addPlayback(double busyMs, double budgetMs) noexcept;

    // The ratio busy ÷ budget since the last call, and a fresh start. No budget at all (nothing
    // added yet, or blocks of no length) is a load of 0.
    double captureLoad() noexcept;
    double playbackLoad() noexcept;

    // A load as the bars show it: whole percent, 0 ... 100 (a non-number is 0).
    static int percent(double load) noexcept;

private:
    struct Pair
    {
        std::atomic<double> busyMs { 0.0 };
        std::atomic<double> budgetMs { 0.0 };
    };
    static void add(Pair &pair, double busyMs, double budgetMs) noexcept;
    static double take(Pair &pair) noexcept;

    Pair m_capture;
    Pair m_playback;
};

} // namespace corvane::tuner
