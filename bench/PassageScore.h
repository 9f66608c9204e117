// How a pitch track reads a played passage: per frame against the note sounding at the frame's
// time, at the note changes, and between them. Bench code, free of the analyzer, so that the
// tests can check it on tracks made by hand. Allocates; keeps no state.
#pragma once

#include <span>
#include <vector>

namespace corvane::accuracy {

// A note as it sounds in the rendered file: its start and end in seconds and its true pitch in
// Hz (the center of a vibrato). In a phrase the notes are in time order and do not overlap: a
// legato note ends where the next begins.
struct PassageNote
{
    double onset = 0.0, off = 0.0;
    double hz = 0.0;
};

// A tracker's frame: the center of the sound it describes, in seconds, and its pitch in Hz
// (0 or less = no pitch).
struct PitchFrame
{
    double time = 0.0;
    double hz = 0.0;
};

// Frames this close to a note's onset are left out of the per-frame figures: there the window of
// every tracker holds two notes, and the timing error judges them instead.
inline constexpr double kChangeGuardSeconds = 0.030;

struct PassageScore
{
    // Per frame inside a note, outside the guard around onsets: the frames, those naming the
    // note within 50 and within 5 cents (no pitch is a miss), and the absolute cents of those
    // within 50.
    long frames = 0, within50 = 0, within5 = 0;
    std::vector<double> absCents;
    // Per note: seconds from its onset to the first of two consecutive frames within 50 cents of
    // it (0 when that frame lies before the onset); notes with no such pair.
    std::vector<double> lockSeconds;
    long notes = 0, neverLocked = 0;
    // Per note onset (a legato change or a start from silence): the first frame naming the new
    // note minus the onset, in seconds; onsets whose note no frame names.
    std::vector<double> changeErrors;
    long changes = 0, missedChanges = 0;
    // Runs of frames naming a note that is neither the one sounding nor its neighbours, or that
    // name the previous note again after the new one has been named. Held over: runs of frames
    // that still name the previous note after the guard past a change, before any frame has
    // named the new one (an extra head on the staff; its lateness is in the change error too).
    // The seconds played (each phrase from its first onset to its last note's end), to count
    // both per minute.
    long ghosts = 0, heldOver = 0;
    double seconds = 0.0;

    void add(const PassageScore &other);
};

// Scores one phrase. `frames` are the whole track in time order (frames far outside the phrase
// are ignored); `notes` one phrase as above, at least one note.
PassageScore scorePhrase(std::span<const PitchFrame> frames, std::span<const PassageNote> notes);

// The value below which `share` (0 ... 1) of `v` lie (nearest rank); 0 for none.
double quantile(std::vector<double> v, double share);

} // namespace corvane::accuracy
