#include "ReferenceMeasurer.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

    constexpr int kA4 = 48;

} // namespace

ReferenceMeasurer::ReferenceMeasurer(int note, double noteOffsetCents, double referenceHz) noexcept
    : m_note(note)
    , m_offsetCents(noteOffsetCents)
{
    // The note's tempered pitch is the reference times 2^((note - A4) / 12 + offset / 1200).
    const double semitones = (note - kA4) + noteOffsetCents / 100.0;
    m_toReference = std::exp2(-semitones / 12.0);
    m_expectedHz = referenceHz / m_toReference;
}

void ReferenceMeasurer::restart() noexcept
{
    m_count = 0;
    m_heardSeconds = 0.0;
    m_done = false;
}

void ReferenceMeasurer::add(double hz, bool stable, double blockSeconds) noexcept
{
    if (m_done)
        return;
    const bool ofTheNote = stable && hz > 0.0 && std::isfinite(hz)
            && std::abs(1200.0 * std::log2(hz / m_expectedHz)) <= kNoteWindowCents;
    if (!ofTheNote) {
        if (m_heardSeconds >= kSettleSeconds)
            m_done = true;
        else
            restart();
        return;
    }
    if (m_count < m_readings.size())
        m_readings[m_count++] = hz;
    m_heardSeconds += blockSeconds;
    if (m_heardSeconds >= kFullSeconds - 1e-9 || m_count == m_readings.size())
        m_done = m_heardSeconds >= kSettleSeconds;
}

ReferenceMeasurer::State ReferenceMeasurer::state() const noexcept
{
    if (m_count == 0)
        return State::Listening;
    if (m_heardSeconds < kSettleSeconds - 1e-9)
        return State::Settling;
    const double reference = referenceHz();
    return reference >= kLowestReferenceHz && reference <= kHighestReferenceHz ? State::Measured
                                                                               : State::OutOfRange;
}

double ReferenceMeasurer::measuredHz() const noexcept
{
    if (m_count == 0 || m_heardSeconds < kSettleSeconds - 1e-9)
        return 0.0;
    std::array<double, kCapacity> sorted = m_readings;
    const auto end = sorted.begin() + static_cast<std::ptrdiff_t>(m_count);
    std::sort(sorted.begin(), end);
    const std::size_t middle = m_count / 2;
    return m_count % 2 == 1 ? sorted[middle] : 0.5 * (sorted[middle - 1] + sorted[middle]);
}

double ReferenceMeasurer::referenceHz() const noexcept
{
    return measuredHz() * m_toReference;
}

} // namespace corvane
