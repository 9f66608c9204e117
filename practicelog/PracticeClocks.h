#pragma once

#include "ActiveTimeCounter.h"
#include "IntonationStatistics.h"
#include "RunClock.h"

namespace corvane {

// The clocks of one run of the program: when it started (the wall clock) and how long the tuner
// heard something it could follow; and how in tune it heard the notes. `main` owns the pair and
// hands it to the tuner window, which ticks the counter, and to the practice log, which records and
// prints the run; the run starts when the pair is made. User-interface thread only.
struct PracticeClocks
{
    // The tuner counts a tick for every fifth of a second it runs, however often it updates.
    static constexpr double kTicksPerSecond = 5.0;

    PracticeClocks() { active.setTicksPerSecond(kTicksPerSecond); }
    PracticeClocks(const PracticeClocks &) = delete;
    PracticeClocks &operator=(const PracticeClocks &) = delete;

    RunClock run;
    ActiveTimeCounter active;
    // How in tune each note was played during the run, by pitch class from C; each tuner window
    // adds what it heard when it closes, and the log gets it at exit with the run's line.
    IntonationStatistics intonation { 0.0 };
};

} // namespace corvane
