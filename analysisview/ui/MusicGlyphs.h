#pragma once

#include "KeyTables.h"

class QPainter;

namespace corvane {

// The notes pane's glyphs, drawn as vector shapes in black so that screen, images and paper
// show them alike: clefs in a 64 x 48 box, note heads 9 x 7, accidentals 11 x 22.
class MusicGlyphs
{
public:
    // Clef 0 treble, 1 alto, 2 tenor, 3 bass, for a staff whose middle line is at `middle`;
    // the box starts at x = 0, y = middle - 24.
    static void clef(QPainter &painter, int clef, int middle);
    // A filled head whose top-left corner is at (x, y).
    static void noteHead(QPainter &painter, int x, int y);
    // `sign` in its 11 x 22 box at (x, top); nothing for Accidental::None.
    static void accidental(QPainter &painter, Accidental sign, int x, int top);
};

} // namespace corvane
