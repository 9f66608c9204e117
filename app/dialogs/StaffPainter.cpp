#include "StaffPainter.h"

#include "MusicGlyphs.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace corvane::dialogs {

StaffPainter::StaffPainter(QPainter &painter, const QRectF &area, double lineSpacing)
    : m_painter(painter)
    , m_area(area)
    , m_lineSpacing(lineSpacing)
    , m_middleY(area.center().y())
    , m_ink(Qt::black)
{
}

void StaffPainter::drawLines()
{
    m_painter.save();
    m_painter.setPen(QPen(m_ink, 1.0));
    for (int step = -4; step <= 4; step += 2)
        m_painter.drawLine(QPointF(m_area.left(), stepY(step)),
                           QPointF(m_area.right(), stepY(step)));
    m_painter.restore();
}

double StaffPainter::drawClef(int clef)
{
    return widgets::MusicGlyphs::drawClef(m_painter, clef, m_area.left() + 0.3 * m_lineSpacing,
                                          m_middleY, m_lineSpacing, m_ink);
}

double StaffPainter::drawKeySignature(int clef, int key, double x)
{
    const double advance = 1.1 * m_lineSpacing;
    for (int k = 1; k <= SignatureSharpCount(key); ++k, x += advance)
        drawSign(Accidental::Sharp, x, SignatureSharpStep(clef, k));
    for (int k = 1; k <= SignatureFlatCount(key); ++k, x += advance)
        drawSign(Accidental::Flat, x, SignatureFlatStep(clef, k));
    return x;
}

void StaffPainter::drawNoteHead(double x, int step)
{
    const double s = m_lineSpacing;
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setPen(QPen(m_ink, 1.0));
    for (int ledger = 6; ledger <= step; ledger += 2)
        m_painter.drawLine(QPointF(x - 0.95 * s, stepY(ledger)),
                           QPointF(x + 0.95 * s, stepY(ledger)));
    for (int ledger = -6; ledger >= step; ledger -= 2)
        m_painter.drawLine(QPointF(x - 0.95 * s, stepY(ledger)),
                           QPointF(x + 0.95 * s, stepY(ledger)));
    m_painter.restore();
    widgets::MusicGlyphs::drawNoteHead(m_painter, QPointF(x, stepY(step)), s, m_ink);
}

void StaffPainter::drawAccidental(double noteX, int step, Accidental accidental)
{
    drawSign(accidental, noteX - widgets::MusicGlyphs::accidentalOffset(accidental, m_lineSpacing),
             step);
}

void StaffPainter::drawLabel(double x, const QString &text, bool above, int noteStep)
{
    m_painter.save();
    QFont font = m_painter.font();
    font.setPixelSize(int(std::lround(1.4 * m_lineSpacing)));
    font.setItalic(true);
    m_painter.setFont(font);
    m_painter.setPen(m_ink);
    const double h = 2.0 * m_lineSpacing;
    // Clear of the staff and of the note head on its ledger lines, whichever reaches further;
    // where the frame has no room for that, beside the note head.
    const QRectF box = above
            ? QRectF(x - 40,
                     std::min(stepY(4) - 2.2 * m_lineSpacing, stepY(noteStep) - 0.9 * m_lineSpacing)
                             - h,
                     80, h)
            : QRectF(x - 40,
                     std::max(stepY(-4) + 2.2 * m_lineSpacing,
                              stepY(noteStep) + 0.9 * m_lineSpacing),
                     80, h);
    if (box.top() < m_area.top() || box.bottom() > m_area.bottom()) {
        const double left = x + 1.4 * m_lineSpacing;
        m_painter.drawText(QRectF(left, stepY(noteStep) - h / 2, m_area.right() - left, h),
                           Qt::AlignLeft | Qt::AlignVCenter, text);
        m_painter.restore();
        return;
    }
    m_painter.drawText(box, Qt::AlignCenter, text);
    m_painter.restore();
}

void StaffPainter::drawSign(Accidental accidental, double left, int step)
{
    widgets::MusicGlyphs::drawAccidental(m_painter, accidental, left, stepY(step), m_lineSpacing,
                                         m_ink);
}

} // namespace corvane::dialogs
