#pragma once

#include "KeyTables.h"

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

namespace corvane::dialogs {

// Draws the dialogs' little staves: five lines, a clef, key signatures, note heads with their
// ledger lines and accidentals, and octave labels. The symbols come from widgets::MusicGlyphs,
// the same as the notes pane's; this class places them on a staff.
//
// Steps count from the middle line, up; each step is half a line spacing. UI thread only.
class StaffPainter
{
public:
    // A staff across `area`, centered vertically, with `lineSpacing` pixels between lines.
    StaffPainter(QPainter &painter, const QRectF &area, double lineSpacing = 8.0);

    double stepY(int step) const noexcept { return m_middleY - step * m_lineSpacing / 2.0; }
    double lineSpacing() const noexcept { return m_lineSpacing; }

    void drawLines();
    // The clef at the staff's left end; returns the x where the music may begin.
    double drawClef(int clef);
    // A key signature of `key` for `clef` from x on; returns the x after it.
    double drawKeySignature(int clef, int key, double x);
    // A filled note head centered on x at `step`, with ledger lines out to it.
    void drawNoteHead(double x, int step);
    // The sign just left of a note head centered on x.
    void drawAccidental(double noteX, int step, Accidental accidental);
    // Small text centered on x, above the staff or below it.
    void drawLabel(double x, const QString &text, bool above, int noteStep = 0);

private:
    void drawSign(Accidental accidental, double left, int step);

    QPainter &m_painter;
    QRectF m_area;
    double m_lineSpacing;
    double m_middleY;
    QColor m_ink;
};

} // namespace corvane::dialogs
