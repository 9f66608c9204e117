#pragma once

#include <array>
#include <csignal>

namespace corvane {

// While one of the command line's long actions runs (an analysis, the tuner hearing a file),
// Ctrl-C, a hang-up or a termination request is noted instead of killing the program, so that
// the action can end by its own path: the private folder of band files removed, the devices
// stopped. The previous handlers come back when the guard goes.
//
// The noted signal is process-wide because signal handlers are: one guard at a time, on the main
// thread; `received` may be read from any thread.
class TerminationSignals
{
public:
    TerminationSignals();
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

    // The last signal noted since the guard was made, 0 when none.
    static int received() noexcept;
    // The shell's status for a program ended by the signal: 128 + its number (0 when none).
    static int exitStatus() noexcept
    {
        const int signal = received();
        return signal != 0 ? 128 + signal : 0;
    }

private:
    static constexpr std::array<int, 3> kSignals { SIGINT, SIGTERM, SIGHUP };
    std::array<struct sigaction, 3> m_previous {};
};

} // namespace corvane
