#pragma once

#include <cstdint>

namespace corvane {

class CPitch;

// One analyzed hop (or block) of a recording: the analyzer's frequency and level for it, the note
// the frequency falls on, and the flags the post-processing sets. Samples form a doubly linked list
// in time order, owned by a SampleList.
class CSample
{
public:
    CSample *next() const noexcept { return m_next; }
    CSample *previous() const noexcept { return m_previous; }

    // The analyzer's total band energy for the block.
    double level() const noexcept { return m_level; }
    void setLevel(double level) noexcept { m_level = level; }

    // Hz; 0.0 = no pitch. Setting it recomputes the note from `notes`, the note table the
    // analysis runs with.
    double frequency() const noexcept { return m_frequency; }
    void setFrequency(double hz, const CPitch &notes) noexcept;

    // Note index 0..96 of the frequency; 12 until a frequency is set.
    int32_t note() const noexcept { return m_note; }

    // Level above the voicing threshold.
    bool voiced() const noexcept { return m_voiced; }
    void setVoiced(bool voiced) noexcept { m_voiced = voiced; }
    // Voiced but not stable.
    bool isolated() const noexcept { return m_isolated; }
    void setIsolated(bool isolated) noexcept { m_isolated = isolated; }
    // Voiced, and within 50 cents of a voiced neighbor.
    bool stable() const noexcept { return m_stable; }
    void setStable(bool stable) noexcept { m_stable = stable; }

    // A new note began within this sample's stretch of sound, `onsetFrames` before its end (the
    // analyzer's onset); -1 when none did.
    int32_t onsetFrames() const noexcept { return m_onsetFrames; }
    void setOnsetFrames(int32_t frames) noexcept { m_onsetFrames = frames; }

    // A clear note outside the analysis limits: the sample has no frequency and is not voiced,
    // and this says which side the note lay on.
    enum class OutOfRange : int8_t { No, Below, Above };

    // A note begins with this sample (placed by the post-processing from the analyzer's onset):
    // a note run ends before it even when the note is the same.
    bool beginsNote() const noexcept { return m_beginsNote; }
    void setBeginsNote(bool begins) noexcept { m_beginsNote = begins; }
    OutOfRange outOfRange() const noexcept { return m_outOfRange; }
    void setOutOfRange(OutOfRange side) noexcept { m_outOfRange = side; }

private:
    friend class SampleList;

    CSample *m_next = nullptr;
    CSample *m_previous = nullptr;
    double m_level = 0.0;
    double m_frequency = 0.0;
    int32_t m_note = 12;
    int32_t m_onsetFrames = -1;
    OutOfRange m_outOfRange = OutOfRange::No;
    bool m_beginsNote = false;
    bool m_voiced = false;
    bool m_isolated = false;
    bool m_stable = false;
};

} // namespace corvane
