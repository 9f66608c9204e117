#pragma once

#include "KeyTables.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace corvane {

class CTCDefs;

// What the player reads and how it sounds: clef, scale mode, written key and transposition,
// and from them the sounding key, the spelling of each degree, the written note of a concert
// pitch and its place on the staff.
//
// A plain value. The program's own is part of its ProgramState, bound to its settings, read and
// changed on the user-interface thread only; workers that need it get a copy from detached(). Nothing here allocates. Every
// setter refuses a value outside its range and keeps what it had, so the tables are never read out
// of bounds.
class KeyContext
{
public:
    static constexpr int kMinOctave = -2;
    static constexpr int kMaxOctave = 2;

    // Treble clef, C major, no transposition.
    KeyContext() noexcept = default;
    // Clef and transposition as stored in `settings`, which then follows every change of them;
    // a stored value out of range is taken as its default (treble, C, same octave). Key C,
    // major: the key and mode are not kept between runs. `settings` must outlive the context.
    explicit KeyContext(CTCDefs &settings) noexcept;

    // The same context, no longer bound to the settings: the copy a worker or a window's core
    // keeps, whose changes stay its own.
    KeyContext detached() const noexcept
    {
        KeyContext copy = *this;
        copy.settings = nullptr;
        return copy;
    }

    // 0 treble, 1 alto, 2 tenor, 3 bass; also stored in the settings.
    bool SetClef(int clef) noexcept;
    int Clef() const noexcept { return clef; }

    // The written key, 0 (Cb) .. 7 (C) .. 14 (C#).
    bool SetKey(int key) noexcept;
    int Key() const noexcept { return key; }

    // 0 major, 1 natural minor, 2 harmonic minor, 3 melodic minor; also selects the scale mask.
    bool SetMode(int mode) noexcept;
    int Mode() const noexcept { return mode; }
    // Whether a degree lies outside the current mode's scale.
    bool IsChromatic(int degree) const noexcept;

    // The written key's name, minor in any minor mode ("C Minor").
    std::string_view KeyName() const noexcept;
    static std::string_view MajorKeyName(int key) noexcept { return corvane::MajorKeyName(key); }

    // transposeKey is the key in which a written C sounds (7 = none), octave -2..+2 the extra
    // octaves between written and sounding pitch (+1 sounds an octave higher). Both are also
    // stored in the settings.
    bool SetTransposition(int transposeKey, int octave) noexcept;
    int TransposeKey() const noexcept { return transposeKey; }
    int TransposeOctave() const noexcept { return transposeOctave; }

    // Spelling of a degree in the written key; empty for a degree outside 0..11.
    std::string_view SpellDegree(int degree) const noexcept;

    // The key that sounds: written key moved by the transposition, 0..14. The sum is brought
    // into range by 12 key steps, which keep the tonic (7 x 12 semitones is whole octaves).
    int SoundingKey() const noexcept;
    // A-based pitch class of a degree of the sounding key; degree 0 is the sounding tonic.
    int DegreePitchClass(int degree) const noexcept;
    // Degree of the sounding key that a note index (or any pitch class) belongs to, 0..11.
    int DegreeOfNote(int noteIndex) const noexcept;

    // The written note index of a concert note index, kept within 0..96.
    int WrittenIndex(int concertIndex) const noexcept;
    // Staff step of the written note of a concert pitch, counting letter names from middle C
    // (written middle C = 0).
    int StaffStep(int concertIndex) const noexcept;
    // The sign drawn beside the written note of a concert pitch.
    Accidental AccidentalOf(int concertIndex) const noexcept;

    // Key signature of the written key in the current clef: the number of sharps or flats, and
    // the staff step (from the middle line, up) of the k-th one, k 1..count.
    int SharpCount() const noexcept;
    int FlatCount() const noexcept;
    int SharpStep(int k) const noexcept;
    int FlatStep(int k) const noexcept;

private:
    // Degree of the written note within the written key, and the octave StaffStep counts.
    struct WrittenDegree
    {
        int degree;
        int octave;
    };
    WrittenDegree WrittenDegreeOf(int concertIndex) const noexcept;

    int clef = 0;
    int mode = 0;
    int key = kKeyC;
    int transposeKey = kKeyC;
    int transposeOctave = 0;
    std::array<uint8_t, kDegreeCount> scaleMask = ScaleMask(0);
    CTCDefs *settings = nullptr; // not owned; null for a context of its own
};

} // namespace corvane
