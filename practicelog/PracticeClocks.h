#pragma once

#include "ActiveTimeCounter.h"
#include "RunClock.h"

namespace corvane {

// The clocks of one run of the program: when it started (the wall clock) and how long the tuner
// heard something it could follow. `main` owns the pair and hands it to the tuner window, which
// ticks the counter, and to the practice log, which records and prints the run; the run starts
// when the pair is made. User-interface thread only.
struct PracticeClocks
{
    // The tuner window ticks the counter five times a second.
    static constexpr double kTicksPerSecond = 5.0;

    PracticeClocks() { active.setTicksPerSecond(kTicksPerSecond); }
    PracticeClocks(const PracticeClocks &) = delete;
    PracticeClocks &operator=(const PracticeClocks &) = delete;

    RunClock run;
    ActiveTimeCounter active;
};

} // namespace corvane
