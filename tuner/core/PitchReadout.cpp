#include "PitchReadout.h"

#include "CPitch.h"
#include "KeyContext.h"
#include "Tuning.h"

#include <cmath>
#include <cstdio>

namespace corvane::tuner {

namespace {

    // Octave numbers change at C: written middle C (staff step 0) starts octave 4. Counting letters
    // rather than semitones keeps a written Cb4 or B#3 in the octave its letter belongs to.
    int writtenOctave(const KeyContext &keys, int noteIndex) noexcept
    {
        const int step = keys.StaffStep(noteIndex);
        return 4 + (step >= 0 ? step / 7 : -((-step + 6) / 7));
    }

} // namespace

PitchReadout PitchReadout::of(double hz, const CPitch &pitch, const KeyContext &keys,
                              const DegreeCents &adjustCents)
{
    PitchReadout readout;
    if (!std::isfinite(hz) || hz <= 0.0)
        return readout;
    const int note = pitch.NoteIndex(hz);
    readout.m_shown = true;
    readout.m_hz = hz;
    readout.m_cents = Deviation(pitch, keys, adjustCents, hz, note);
    readout.m_note = std::string(keys.SpellDegree(keys.DegreeOfNote(note)))
            + std::to_string(writtenOctave(keys, note));
    return readout;
}

PitchReadout PitchReadout::outOfRange(bool below) noexcept
{
    PitchReadout readout;
    readout.m_range = below ? Range::Below : Range::Above;
    return readout;
}

std::string PitchReadout::hzText() const
{
    if (!m_shown)
        return {};
    char text[48];
    std::snprintf(text, sizeof text, "%.1f Hz", m_hz);
    return text;
}

std::string PitchReadout::centsText() const
{
    if (!m_shown)
        return {};
    char text[48];
    if (std::round(m_cents * 10.0) == 0.0)
        std::snprintf(text, sizeof text, "0.0 cents");
    else
        std::snprintf(text, sizeof text, "%+.1f cents", m_cents);
    return text;
}

} // namespace corvane::tuner
