#include "LiveRows.h"

#include "TemperedCents.h"

#include <cmath>

namespace corvane {

namespace {

    // The analysis of a file calls two voiced neighbours this close the same note held.
    constexpr double kStableCents = 50.0;

    bool close(const AnalysisReport::SampleRow &a, const AnalysisReport::SampleRow &b) noexcept
    {
        return a.voiced && b.voiced && a.pitchHz > 0.0 && b.pitchHz > 0.0
                && std::abs(CPitch::Cents(a.pitchHz, b.pitchHz)) <= kStableCents;
    }

} // namespace

LiveRows::LiveRows(int sampleRate, double noiseThreshold, double referenceHz, double delaySeconds)
    : m_rate(sampleRate > 0 ? sampleRate : 1)
    , m_voicedAbove(noiseThreshold * 0.5)
    , m_delaySeconds(delaySeconds)
{
    m_notes.SetReference(referenceHz);
}

AnalysisReport::SampleRow LiveRows::rowOf(const BlockReading &reading) const noexcept
{
    AnalysisReport::SampleRow row;
    row.timeSeconds = static_cast<double>(reading.frame) / m_rate - m_delaySeconds;
    row.level = reading.level;
    row.voiced = reading.level > m_voicedAbove;
    if (row.voiced && reading.pitchHz > 0.0) {
        row.pitchHz = reading.pitchHz;
        row.named = true;
        row.note = m_notes.NearestNote(reading.pitchHz);
        row.cents = CPitch::Cents(reading.pitchHz, m_notes.NearestNoteFreq(row.note));
        if (m_temperament)
            temper(row, *m_temperament);
    }
    return row;
}

std::optional<AnalysisReport::SampleRow> LiveRows::add(const BlockReading &reading) noexcept
{
    const AnalysisReport::SampleRow next = rowOf(reading);
    std::optional<AnalysisReport::SampleRow> ready;
    if (m_pending) {
        AnalysisReport::SampleRow &row = *m_pending;
        row.stable = (m_previous && close(row, *m_previous)) || close(row, next);
        ready = row;
        m_previous = row;
    }
    m_pending = next;
    return ready;
}

std::optional<AnalysisReport::SampleRow> LiveRows::finish() noexcept
{
    if (!m_pending)
        return std::nullopt;
    AnalysisReport::SampleRow row = *m_pending;
    row.stable = m_previous && close(row, *m_previous);
    m_pending.reset();
    m_previous = row;
    return row;
}

} // namespace corvane
