#include "CSample.h"

#include "NoteLookup.h"

namespace corvane {

void CSample::setFrequency(double hz) noexcept
{
    m_frequency = hz;
    m_note = noteIndexOf(hz);
}

} // namespace corvane
