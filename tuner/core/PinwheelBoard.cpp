#include "PinwheelBoard.h"

#include "CPitch.h"
#include "KeyContext.h"
#include "Tuning.h"

namespace corvane::tuner {

PinwheelBoard::PinwheelBoard() noexcept
{
    for (int d = 0; d < kDegreeCount; ++d)
        m_wheels[std::size_t(d)].SetPitchClass(d);
}

void PinwheelBoard::Relabel(const KeyContext &keys) noexcept
{
    for (int d = 0; d < kDegreeCount; ++d) {
        WheelState &w = m_wheels[std::size_t(d)];
        w.SetPitchClass(keys.DegreePitchClass(d));
        w.SetName(keys.SpellDegree(d));
    }
}

PinwheelBoard::WheelMask PinwheelBoard::Update(double f, const CPitch &pitch,
                                               const KeyContext &keys,
                                               const DegreeFloats &adjustCents,
                                               const PinwheelThresholds &thresholds,
                                               WheelState::Micros elapsed, bool fresh) noexcept
{
    // NaN fails `f > 0` too: a broken frequency must light nothing (the note table would read it
    // as the lowest A).
    const bool heard = f > 0.0;
    const int noteIndex = heard ? pitch.NoteIndex(f) : 0;
    // A folded frequency just below the top of the octave can land in the next A's band; the
    // pitch class is what the wheels compare, and the cents are taken from that very note.
    const int note = heard ? noteIndex % 12 : WheelState::kNoNote;
    const double flatCents = heard ? -Deviation(pitch, keys, adjustCents, f, noteIndex) : 0.0;
    // A note counts from its second result on: the first straddles the attack, where the
    // analyzer's window still holds what came before.
    // The figures take a reading at most five times a second, as they always have: a held note
    // counts the same whether the display takes 5 or 43 results a second, and the counts the
    // practice log keeps stay comparable from day to day.
    m_sinceCounted += elapsed;
    if (fresh) {
        if (heard && note == m_previousNote && m_sinceCounted >= kCountEvery) {
            m_sinceCounted = WheelState::Micros { 0 };
            m_intonation.setInTuneCents(thresholds[2]);
            m_intonation.add(note, -flatCents);
            m_heard.setInTuneCents(thresholds[2]);
            m_heard.add(note, -flatCents);
        }
        m_previousNote = note;
    }

    bool lit = false;
    for (WheelState &w : m_wheels) {
        w.Step(note, flatCents, thresholds, elapsed);
        lit = lit || w.mode() == WheelState::Mode::Active;
    }
    if (lit && !m_holdBesideNewNote)
        for (WheelState &w : m_wheels)
            w.Release();
    WheelMask changed;
    for (int d = 0; d < kDegreeCount; ++d)
        changed[std::size_t(d)] = !m_wheels[std::size_t(d)].idle();
    return changed;
}

void PinwheelBoard::AddHeardTo(IntonationStatistics &runByPitchClassFromC) const noexcept
{
    // The board counts pitch classes from A (0 = A, 3 = C).
    for (int a = 0; a < kDegreeCount; ++a)
        runByPitchClassFromC.merge((a + 9) % 12, m_heard.degree(a));
}

} // namespace corvane::tuner
