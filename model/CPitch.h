#pragma once

#include <array>
#include <cstdint>

namespace corvane {

// A table of notes: 97 chromatic notes from A0 (index 0) to A8 (index 96) in
// equal temperament around a movable reference for a' (index 48); index 97 stands for a rest and
// has no frequency. Note indices count semitones from A0, so index mod 12 is the pitch class
// counted from A (0 = A, 3 = C). The table holds no note names: the key context spells notes.
//
// A plain value: copy it freely. The program's own table is part of its ProgramState, read and
// changed on the user-interface thread only (start-up and dialogs, through SetReference); a
// worker or an analysis that needs notes gets its own copy (or the reference, to build one), so a
// change of reference never meets a reader half-way. Nothing here allocates.
class CPitch
{
public:
    static constexpr int kNoteCount = 97; // A0 .. A8
    static constexpr int kRest = 97;
    static constexpr int kReferenceNote = 48; // a'
    static constexpr int kMiddleC = 39;
    static constexpr double kStandardReference = 440.0;

    // Fills the fixed staff positions and sharp flags and the frequencies for 440 Hz.
    CPitch();
    virtual ~CPitch() = default;

    // True for a reference the table can be built on and the settings can keep: a finite number
    // of Hz above 0 that a 32-bit float holds as a finite number above 0. Anything else would
    // leave frequencies of 0, infinities or NaNs behind, and code that folds a frequency into
    // one octave would never finish.
    static bool IsValidReference(double hz) noexcept;

    // True for a reference a musician could mean: 220 ... 880 Hz, an octave either side of
    // 440 Hz, which holds every pitch standard in use or in history. It is the range the
    // settings keep (kLowestPlausibleReferenceHz ... kHighestPlausibleReferenceHz), so the
    // reference dialogs refuse what the defaults file would not keep; SetReference itself takes any
    // valid one.
    static bool IsPlausibleReference(double hz) noexcept;

    // Moves the whole table to a new frequency of a'. A reference that IsValidReference refuses
    // leaves the table as it was and returns false.
    bool SetReference(double hz) noexcept;
    double Reference() const noexcept { return reference; }

    // The interval from fRef up to f in cents, negative when f is lower. 1200.0 when either
    // frequency is 0 or not a number (the answer for "no pitch").
    static double Cents(double f, double fRef) noexcept;
    // f moved by `cents`.
    static double ApplyCents(double f, double cents) noexcept;

    // The note whose capture band holds f: the highest index whose lower boundary lies at or
    // below f, so a frequency exactly on a boundary belongs to the upper note. Frequencies below
    // the first band (including 0 and NaN) give 0, those above the last give 96.
    int NoteIndex(double f) const noexcept;

    // The note nearest to f by the same rule carried on beyond the table: equal semitones below
    // A0 (index -1 = G#0, -9 = C0) and above A8 (97 = A#8, 99 = C9), each band starting a
    // quarter-tone below its note. Inside the table the same as NoteIndex. f must be a finite
    // frequency above 0; anything else gives 0. Name the result with its own octave number,
    // never as the nearest end of the table.
    int NearestNote(double f) const noexcept;
    // Frequency of NearestNote's index i: the table's for 0..96, else in equal semitones from
    // the nearer end of the table.
    double NearestNoteFreq(int i) const noexcept;

    // Frequency of note i in Hz, i 0..96; 0.0 (no pitch) for the rest and any other index.
    double NoteFreq(int i) const noexcept;
    // Lower capture boundary of note i in Hz (a quarter-tone below it); 0.0 outside 0..96.
    double LowerBound(int i) const noexcept;
    // Frequency of A-based pitch class n in the octave from a' (48) to g#'' (59). Any n is
    // taken modulo 12.
    double NoteClassFreq(int n) const noexcept;

    // Staff position in diatonic steps from middle C (C4 = 0, D4 = 1, B3 = -1); a sharped note
    // has its natural's position. 0 outside 0..96.
    int StaffPosition(int i) const noexcept;
    // Whether note i is one of the five sharped pitch classes (A#, C#, D#, F#, G#).
    bool IsSharp(int i) const noexcept;

private:
    static bool InTable(int i) noexcept { return i >= 0 && i < kNoteCount; }
    void ComputeFrequencies(double r) noexcept;

    std::array<double, kNoteCount> lower {};
    std::array<double, kNoteCount> freq {};
    double reference = kStandardReference;
    std::array<int32_t, kNoteCount> staff {};
    std::array<uint8_t, kNoteCount> sharp {};
};

} // namespace corvane
