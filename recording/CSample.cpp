#include "CSample.h"

#include "CPitch.h"

namespace corvane {

void CSample::setFrequency(double hz, const CPitch &notes) noexcept
{
    m_frequency = hz;
    m_note = notes.NoteIndex(hz);
}

} // namespace corvane
