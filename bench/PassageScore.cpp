#include "PassageScore.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace corvane::accuracy {

namespace {

    // After its last note ends a phrase still rings (a release, a room); frames there may name that
    // note, and anything else they name is a ghost.
    constexpr double kRingSeconds = 0.15;
    // A start from silence is looked for from this long before its onset: a tracker whose window
    // reaches ahead may name the note early.
    constexpr double kEarlySeconds = 0.25;

    double centsBetween(double hz, double truth)
    {
        return 1200.0 * std::log2(hz / truth);
    }

    bool names(const PitchFrame &f, const PassageNote &n)
    {
        return f.hz > 0.0 && std::abs(centsBetween(f.hz, n.hz)) < 50.0;
    }

    // The first frame at or after `time`.
    size_t firstFrom(std::span<const PitchFrame> frames, double time)
    {
        return static_cast<size_t>(
                std::partition_point(frames.begin(), frames.end(),
                                     [time](const PitchFrame &f) { return f.time < time; })
                - frames.begin());
    }

    void scoreFrames(std::span<const PitchFrame> frames, std::span<const PassageNote> notes,
                     PassageScore &s)
    {
        for (size_t i = 0; i < notes.size(); ++i) {
            const PassageNote &n = notes[i];
            const double until = i + 1 < notes.size()
                    ? std::min(n.off, notes[i + 1].onset - kChangeGuardSeconds)
                    : n.off;
            for (size_t k = firstFrom(frames, n.onset + kChangeGuardSeconds);
                 k < frames.size() && frames[k].time < until; ++k) {
                ++s.frames;
                if (frames[k].hz <= 0.0)
                    continue;
                const double cents = std::abs(centsBetween(frames[k].hz, n.hz));
                if (cents < 50.0) {
                    ++s.within50;
                    s.within5 += cents <= 5.0;
                    s.absCents.push_back(cents);
                }
            }
        }
    }

    void scoreLocks(std::span<const PitchFrame> frames, std::span<const PassageNote> notes,
                    PassageScore &s)
    {
        for (const PassageNote &n : notes) {
            ++s.notes;
            bool locked = false;
            for (size_t k = firstFrom(frames, n.onset - kChangeGuardSeconds);
                 k + 1 < frames.size() && frames[k].time < n.off && !locked; ++k) {
                if (names(frames[k], n) && names(frames[k + 1], n)) {
                    locked = true;
                    s.lockSeconds.push_back(std::max(0.0, frames[k].time - n.onset));
                }
            }
            s.neverLocked += !locked;
        }
    }

    // A change is looked for from the middle of the previous note (or a little before a start from
    // silence) to the middle of the next one, so that a note heard twice in a phrase is not found
    // where it was played before.
    void scoreChanges(std::span<const PitchFrame> frames, std::span<const PassageNote> notes,
                      PassageScore &s)
    {
        for (size_t i = 0; i < notes.size(); ++i) {
            const PassageNote &n = notes[i];
            if (i > 0 && std::abs(centsBetween(n.hz, notes[i - 1].hz)) < 50.0)
                continue; // a repeated note: no change of pitch to find
            ++s.changes;
            const double from = i > 0
                    ? std::max(notes[i - 1].onset + 0.5 * (n.onset - notes[i - 1].onset),
                               n.onset - kEarlySeconds)
                    : n.onset - kEarlySeconds;
            double until = n.off + kRingSeconds;
            if (i + 1 < notes.size())
                until = std::min(until, 0.5 * (notes[i + 1].onset + notes[i + 1].off));
            bool found = false;
            for (size_t k = firstFrom(frames, from); k < frames.size() && frames[k].time < until;
                 ++k) {
                if (names(frames[k], n)) {
                    s.changeErrors.push_back(frames[k].time - n.onset);
                    found = true;
                    break;
                }
            }
            s.missedChanges += !found;
        }
    }

    void scoreGhosts(std::span<const PitchFrame> frames, std::span<const PassageNote> notes,
                     PassageScore &s)
    {
        const double end = notes.back().off + kRingSeconds;
        size_t i = 0;              // the last note begun
        bool namedCurrent = false; // a frame since its onset has named it
        int runSemitone = INT_MIN; // of the ghost run the previous frame belonged to
        bool holding = false;      // the previous frame was held over
        for (size_t k = firstFrom(frames, notes.front().onset);
             k < frames.size() && frames[k].time <= end; ++k) {
            const PitchFrame &f = frames[k];
            while (i + 1 < notes.size() && notes[i + 1].onset <= f.time) {
                ++i;
                namedCurrent = false;
            }
            const bool previous = f.hz > 0.0 && i > 0 && names(f, notes[i - 1]);
            bool ghost = false, held = false;
            if (f.hz <= 0.0)
                ;
            else if (names(f, notes[i]))
                namedCurrent = true;
            else if (i + 1 < notes.size() && names(f, notes[i + 1]))
                ; // early, which the timing error counts
            else if (previous && namedCurrent)
                ghost = true; // back again after the new note was named
            else if (previous)
                held = f.time > notes[i].onset + kChangeGuardSeconds;
            else
                ghost = true;
            s.heldOver += held && !holding;
            holding = held;
            if (!ghost) {
                runSemitone = INT_MIN;
                continue;
            }
            const int semitone = static_cast<int>(std::lround(12.0 * std::log2(f.hz / 440.0)));
            s.ghosts += semitone != runSemitone;
            runSemitone = semitone;
        }
    }

} // namespace

void PassageScore::add(const PassageScore &o)
{
    frames += o.frames;
    within50 += o.within50;
    within5 += o.within5;
    absCents.insert(absCents.end(), o.absCents.begin(), o.absCents.end());
    lockSeconds.insert(lockSeconds.end(), o.lockSeconds.begin(), o.lockSeconds.end());
    notes += o.notes;
    neverLocked += o.neverLocked;
    changeErrors.insert(changeErrors.end(), o.changeErrors.begin(), o.changeErrors.end());
    changes += o.changes;
    missedChanges += o.missedChanges;
    ghosts += o.ghosts;
    heldOver += o.heldOver;
    seconds += o.seconds;
}

PassageScore scorePhrase(std::span<const PitchFrame> frames, std::span<const PassageNote> notes)
{
    PassageScore s;
    if (notes.empty())
        return s;
    s.seconds = notes.back().off - notes.front().onset;
    scoreFrames(frames, notes, s);
    scoreLocks(frames, notes, s);
    scoreChanges(frames, notes, s);
    scoreGhosts(frames, notes, s);
    return s;
}

double quantile(std::vector<double> v, double share)
{
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    const auto rank = static_cast<size_t>(std::ceil(share * static_cast<double>(v.size())));
    return v[std::clamp<size_t>(rank, 1, v.size()) - 1];
}

} // namespace corvane::accuracy
