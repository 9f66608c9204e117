#include "TerminationSignals.h"

namespace corvane {

namespace {

    volatile std::sig_atomic_t g_signal = 0;

    extern "C" void noteSignal(int signal)
    {
        g_signal = signal;
    }

} // namespace

TerminationSignals::TerminationSignals()
{
    g_signal = 0;
    struct sigaction action = {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        sigaction(kSignals[i], &action, &m_previous[i]);
}

TerminationSignals::~TerminationSignals()
{
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        sigaction(kSignals[i], &m_previous[i], nullptr);
}

int TerminationSignals::received() noexcept
{
    return static_cast<int>(g_signal);
}

} // namespace corvane
