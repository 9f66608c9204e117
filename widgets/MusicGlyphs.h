#pragma once

#include "KeyTables.h"

#include <QColor>
#include <QPointF>

class QPainter;

namespace corvane::widgets {

// The program's one source of music symbols, for every staff it draws: the notes pane on screen
// and on paper, and the dialogs' staffs and picture buttons. Clefs and accidentals are glyphs of
// the Symbola font (Debian's fonts-symbola), taken as outlines and fitted to the staff they sit
// on, so they stay sharp at any pixel density and print as shapes; note heads are drawn ovals.
// Without the font the clefs and signs fall back to plain letters ("G", "#", "b" ...) in the
// default font, so a missing font never hides a sharp.
//
// Everything is measured in the staff's line spacing (pixels between two staff lines) and placed
// by the y of the middle line or of the note's own line or space. UI thread (or any one thread
// with a QGuiApplication); the outlines are made once and then only read.
class MusicGlyphs
{
public:
    // Clef 0 treble, 1 alto, 2 tenor, 3 bass (any other: treble), its left edge at `left`, on a
    // staff whose middle line lies at `middleY`. Returns the x where the music may begin.
    static double drawClef(QPainter &painter, int clef, double left, double middleY,
                           double lineSpacing, const QColor &ink = Qt::black);

    // `sign` with its left edge at `left`, for a note whose line or space lies at `y`: sharps and
    // naturals centered on it, flats with their belly on it. Nothing for Accidental::None.
    static void drawAccidental(QPainter &painter, Accidental sign, double left, double y,
                               double lineSpacing, const QColor &ink = Qt::black);
    // How far left of a note head's center a sign starts so that it clears the head.
    static double accidentalOffset(Accidental sign, double lineSpacing);

    // A filled head centered on `center`, a little wider than a space and tilted as engravers
    // tilt it.
    static void drawNoteHead(QPainter &painter, const QPointF &center, double lineSpacing,
                             const QColor &ink = Qt::black);

    // Whether the music font was found (false: the plain-letter stand-ins are drawn).
    static bool hasMusicFont();
};

} // namespace corvane::widgets
