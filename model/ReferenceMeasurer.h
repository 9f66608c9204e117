#pragma once

#include <array>
#include <cstddef>

namespace corvane {

// Takes the pitch reference from a played note: an orchestra's oboe A, a piano's C. Fed the
// analysis results block by block, it keeps the stable readings of the chosen note, and once
// it has heard that note held steadily for kSettleSeconds it gives the median of them as the
// measured frequency, and the reference (the frequency of A4 in the note table) that makes the
// note sound in tune in the current temperament. It goes on refining the median until
// kFullSeconds of the note are heard, or the note stops, and then it is done.
//
// A reading counts when the analysis calls it stable and it lies within kNoteWindowCents of the
// chosen note's tempered pitch on the current reference: a player a semitone from the current
// reference (415 Hz against 440) is still heard playing the note. A reading that does not count
// before the note has settled starts the count again; one after it ends the measurement.
//
// A plain value of fixed size: add allocates nothing. One thread.
class ReferenceMeasurer
{
public:
    static constexpr double kSettleSeconds = 1.0;
    static constexpr double kFullSeconds = 2.0;
    static constexpr double kNoteWindowCents = 150.0;
    // The references the program takes (the settings file keeps no others).
    static constexpr double kLowestReferenceHz = 220.0;
    static constexpr double kHighestReferenceHz = 880.0;

    enum class State {
        Listening,  // no reading of the note yet
        Settling,   // the note is held, not yet for kSettleSeconds
        Measured,   // referenceHz() is one the program takes
        OutOfRange, // the reference would lie outside 220 ... 880 Hz
    };

    // `note` 0..96 (48 = A4): the note the player sounds. `noteOffsetCents`: the current
    // temperament's offset of that note's degree (0 in equal temperament). `referenceHz`: the
    // current reference, which says where to listen for the note.
    ReferenceMeasurer(int note, double noteOffsetCents, double referenceHz) noexcept;

    // One analysis block: its pitch in Hz (0 = none), whether the analysis found it stable, and
    // the block's length in seconds.
    void add(double hz, bool stable, double blockSeconds) noexcept;

    State state() const noexcept;
    // Whether the measurement is over (kFullSeconds heard, or the note ended after settling).
    bool done() const noexcept { return m_done; }
    // The median of the note's readings in Hz; 0 before the note has settled.
    double measuredHz() const noexcept;
    // The frequency of A4 that puts the note, tempered, at measuredHz(); 0 before it settled.
    double referenceHz() const noexcept;
    // Where the note is expected on the current reference (its tempered pitch), Hz.
    double expectedHz() const noexcept { return m_expectedHz; }
    int note() const noexcept { return m_note; }
    double noteOffsetCents() const noexcept { return m_offsetCents; }

    // Forgets every reading: a new measurement of the same note.
    void restart() noexcept;

private:
    // Two seconds at the shortest block (1024 frames at 96 kHz is 10.7 ms) and some to spare.
    static constexpr std::size_t kCapacity = 256;

    int m_note;
    double m_offsetCents;
    double m_expectedHz;
    double m_toReference; // measured Hz × this = the reference
    std::array<double, kCapacity> m_readings {};
    std::size_t m_count = 0;
    double m_heardSeconds = 0.0;
    bool m_done = false;
};

} // namespace corvane
