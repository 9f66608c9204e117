#pragma once

class QRect;
class QRegion;
class QWidget;

namespace corvane::tuner {

// What the tuner window needs of an intonation display. The operations in the order the window
// uses them over its life: Create once the window exists, SetRate right after, then Update at
// every tracking update, Draw, Refresh and Relabel as the window's paint, key and mode changes
// require, Layout at every resize, SetTone when a reference tone is switched.
//
// UI thread only. `parent` is always the tuner window that holds the display's child widgets.
class cPitchIndicator
{
public:
    virtual ~cPitchIndicator() = default;

    // Tracking updates a second (the tuner gives 5); sets how long a note's display is held.
    virtual void SetRate(int updatesPerSecond) = 0;
    // One tracking update: `f` is the frequency heard in Hz, folded into the lowest octave of
    // the note table (0: nothing heard); `level` is the signal level 0..1 (a display may ignore
    // it). Repaints only what changed.
    virtual void Update(QWidget &parent, double f, double level) = 0;
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
