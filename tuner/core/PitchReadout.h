#pragma once

#include "TemperamentCatalog.h" // DegreeCents

#include <string>

namespace corvane {
class CPitch;
class KeyContext;
}

namespace corvane::tuner {

// The numbers of the readout: the note heard as the player reads it (spelled in the
// written key, with its written octave: "E2", "F#4", "Bb3"), its frequency and how far it lies
// from that note's tempered pitch. Cents count the way musicians read a tuner: positive is
// sharp, negative flat.
//
// A plain value made on the user-interface thread from the result the wheels use.
class PitchReadout
{
public:
    // Nothing heard: every text empty.
    PitchReadout() = default;

    // The readout for a pitch of `hz` (as played, not folded); blank for 0, a negative value,
    // infinity or NaN.
    static PitchReadout of(double hz, const CPitch &pitch, const KeyContext &keys,
                           const DegreeCents &adjustCents);

    // A clear note outside the analyzer's limits: no note, frequency or cents (it is never named
    // as another note), only which side of the range it lies.
    static PitchReadout outOfRange(bool below) noexcept;

    enum class Range { Within, Below, Above };
    // Below or Above for a readout made by outOfRange; shown() is then false.
    Range range() const noexcept { return m_range; }

    bool shown() const noexcept { return m_shown; }
    const std::string &note() const noexcept { return m_note; }
    double hz() const noexcept { return m_hz; }
    double cents() const noexcept { return m_cents; }

    // "440.0 Hz", one decimal; empty when nothing is shown.
    std::string hzText() const;
    // "+3.2 cents", "-30.0 cents", "0.0 cents" (no sign on what rounds to zero); empty when
    // nothing is shown.
    std::string centsText() const;

private:
    bool m_shown = false;
    Range m_range = Range::Within;
    std::string m_note;
    double m_hz = 0.0;
    double m_cents = 0.0;
};

} // namespace corvane::tuner
