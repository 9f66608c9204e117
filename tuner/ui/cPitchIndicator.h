#pragma once

#include <chrono>

class QRect;
class QRegion;
class QWidget;

namespace corvane::tuner {

// What the tuner window needs of an intonation display. The operations in the order the window
// uses them over its life: Create once the window exists, SetClassic right after, then Update at
// every tracking update, Draw, Refresh and Relabel as the window's paint, key and mode changes
// require, Layout at every resize, SetTone when a reference tone is switched.
//
// UI thread only. `parent` is always the tuner window that holds the display's child widgets.
class cPitchIndicator
{
public:
    virtual ~cPitchIndicator() = default;

    // The classic display (five updates a second, a stopped note held beside a new one, as the
    // tuner always showed it) or the smooth one (a stopped note gives way to a new one at once).
    virtual void SetClassic(bool classic) = 0;
    // One tracking update, `elapsed` after the one before: `f` is the frequency heard in Hz,
    // folded into the lowest octave of the note table (0: nothing heard); `level` is the signal
    // level 0..1 (a display may ignore it); `fresh` says that `f` comes from a result not shown
    // before. Repaints only what changed.
    virtual void Update(QWidget &parent, double f, double level, std::chrono::microseconds elapsed,
                        bool fresh) = 0;
    // Repaints every part of the display that meets `region` (in `parent`'s coordinates).
    virtual void Draw(QWidget &parent, const QRegion &region) = 0;
    // Repaints the whole display, for a key, mode or temperament change.
    virtual void Refresh(QWidget &parent) = 0;
    // Takes the degrees' pitch classes and names from the key context again, after the key or
    // transposition changed; Refresh shows them.
    virtual void Relabel() = 0;
    // Places the display in `area` after a resize; on return `area`'s height is the height used.
    virtual void Layout(QWidget &parent, QRect &area) = 0;
    // Makes the display's child widgets in `parent`, placed in `area`; on return `area`'s height
    // is the height used.
    virtual void Create(QWidget &parent, QRect &area) = 0;
    // Shows whether the reference tone of `degree` (0..11) is on.
    virtual void SetTone(int degree, bool on) = 0;
};

} // namespace corvane::tuner
