#pragma once

#include "CTCDefs.h"
#include "IntonationStatistics.h"
#include "WheelState.h"

#include <array>
#include <bitset>

namespace corvane {
class CPitch;
class KeyContext;
}

namespace corvane::tuner {

// The twelve wheels, one per scale degree above the sounding tonic (degree 0 is the tonic), the
// tracking update that feeds them all, and how in tune each degree has been played since the
// figures were last reset: a fresh result that hears the same note as the one before adds its
// deviation to that note's figures (the first result of a note straddles its attack), at most one
// every fifth of a second. The figures
// are kept per sounding pitch class, so that a change of key or transposition shows each wheel the
// figures of the note it now stands for.
//
// UI thread only; reads the note table, key context and settings it is given, which must not
// change during a call. Allocates nothing.
class PinwheelBoard
{
public:
    using WheelMask = std::bitset<kDegreeCount>;

    // Every wheel at the default rate, labeled for pitch classes 0..11 with no names until
    // Relabel.
    PinwheelBoard() noexcept;

    // Whether a wheel whose note has stopped goes on fading while another wheel is lit (the
    // classic display, as the wheels always did) or goes idle as soon as another note is heard
    // (the smooth display, so that two wheels are never lit for one note). Off by default.
    void SetHoldBesideNewNote(bool hold) noexcept { m_holdBesideNewNote = hold; }

    // Gives each wheel the pitch class of its degree in the sounding key and the degree's name as
    // written (cut to two characters). Call after the key or the transposition changes.
    void Relabel(const KeyContext &keys) noexcept;

    // One tracking update, `elapsed` after the one before. `f` is the frequency heard, in Hz,
    // folded into the lowest octave of the note table; 0, a negative value or NaN means nothing
    // was heard. The deviation of the note heard is taken from its tempered pitch (the degree's
    // temperament offset applied). `fresh`: `f` comes from a result the board has not seen yet;
    // only fresh results count in the intonation figures, however often the display repeats one.
    // Returns the wheels that changed and need painting (every wheel that is not idle).
    WheelMask Update(double f, const CPitch &pitch, const KeyContext &keys,
                     const DegreeFloats &adjustCents, const PinwheelThresholds &thresholds,
                     WheelState::Micros elapsed, bool fresh = true) noexcept;

    const WheelState &wheel(int degree) const noexcept { return m_wheels[std::size_t(degree)]; }

    // The deviations heard on `degree`'s note (cents, positive = sharp) since the last reset; in
    // tune: within the middle zone's half-width at the time of each reading.
    const IntonationFigures &intonation(int degree) const noexcept
    {
        return m_intonation.degree(wheel(degree).pitchClass());
    }
    // Forgets what the wheels and the panel show; what the run heard stays (AddHeardTo).
    void ResetIntonation() noexcept { m_intonation.reset(); }
    // Adds everything heard since the board was made, whatever was reset meanwhile, to the run's
    // figures by pitch class counted from C (0 = C, 11 = B), as the practice log keeps them.
    void AddHeardTo(IntonationStatistics &runByPitchClassFromC) const noexcept;

private:
    std::array<WheelState, kDegreeCount> m_wheels;
    IntonationStatistics m_intonation { 0.0 }; // by A-based pitch class
    IntonationStatistics m_heard { 0.0 };      // the same, never reset
    int m_previousNote = WheelState::kNoNote;  // the last fresh result's pitch class
    static constexpr WheelState::Micros kCountEvery { 200'000 };
    WheelState::Micros m_sinceCounted { 200'000 }; // since the figures last took a reading
    bool m_holdBesideNewNote = false;
};

} // namespace corvane::tuner
