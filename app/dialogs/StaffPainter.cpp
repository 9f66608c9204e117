#include "StaffPainter.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace corvane::dialogs {

namespace {

    constexpr char32_t kGClef = 0x1D11E;
    constexpr char32_t kCClef = 0x1D121;
    constexpr char32_t kFClef = 0x1D122;
    constexpr char32_t kFlat = 0x266D;
    constexpr char32_t kNatural = 0x266E;
    constexpr char32_t kSharp = 0x266F;
    constexpr char32_t kDoubleSharp = 0x1D12A;
    constexpr char32_t kDoubleFlat = 0x1D12B;

    QPainterPath GlyphOutline(char32_t glyph)
    {
        QFont font(QStringLiteral("Symbola"));
        font.setPixelSize(200);
        QPainterPath path;
        path.addText(0, 0, font, QString::fromUcs4(&glyph, 1));
        return path;
    }

} // namespace

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
    const double s = m_lineSpacing;
    const double left = m_area.left() + 0.3 * s;
    switch (clef) {
    case 1: // alto: the C clef centred on the middle line
    case 2: // tenor: on the fourth line
    {
        const double centre = stepY(clef == 1 ? 0 : 2);
        drawGlyph(kCClef, QRectF(left, centre - 2.0 * s, 0, 4.0 * s));
        break;
    }
    case 3: // bass: the dots either side of the fourth line
        drawGlyph(kFClef, QRectF(left, stepY(4) - 0.1 * s, 0, 3.3 * s));
        break;
    default: // treble: the curl around the second line
        drawGlyph(kGClef, QRectF(left, stepY(4) - 1.7 * s, 0, 7.2 * s));
        break;
    }
    return left + 3.3 * s;
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
    // An oval a little wider than a space, tilted as engravers tilt it.
    m_painter.translate(x, stepY(step));
    m_painter.rotate(-20);
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(m_ink);
    m_painter.drawEllipse(QPointF(0, 0), 0.62 * s, 0.45 * s);
    m_painter.restore();
}

void StaffPainter::drawAccidental(double noteX, int step, Accidental accidental)
{
    const double width = accidental == Accidental::DoubleFlat ? 1.6 : 0.9;
    drawSign(accidental, noteX - (0.75 + width) * m_lineSpacing, step);
}

void StaffPainter::drawLabel(double x, const QString &text, bool above)
{
    m_painter.save();
    QFont font = m_painter.font();
    font.setPixelSize(int(std::lround(1.4 * m_lineSpacing)));
    font.setItalic(true);
    m_painter.setFont(font);
    m_painter.setPen(m_ink);
    const double h = 2.0 * m_lineSpacing;
    const QRectF box = above ? QRectF(x - 40, stepY(4) - 4.2 * m_lineSpacing, 80, h)
                             : QRectF(x - 40, stepY(-4) + 2.2 * m_lineSpacing, 80, h);
    m_painter.drawText(box, Qt::AlignCenter, text);
    m_painter.restore();
}

void StaffPainter::drawSign(Accidental accidental, double left, int step)
{
    const double s = m_lineSpacing;
    const double y = stepY(step);
    switch (accidental) {
    case Accidental::Sharp:
        drawGlyph(kSharp, QRectF(left, y - 1.35 * s, 0, 2.7 * s));
        break;
    case Accidental::Natural:
        drawGlyph(kNatural, QRectF(left, y - 1.35 * s, 0, 2.7 * s));
        break;
    case Accidental::Flat:
        // The belly of a flat sits on the note's line or space; its stem rises above.
        drawGlyph(kFlat, QRectF(left, y - 1.75 * s, 0, 2.3 * s));
        break;
    case Accidental::DoubleFlat:
        drawGlyph(kDoubleFlat, QRectF(left, y - 1.75 * s, 0, 2.3 * s));
        break;
    case Accidental::DoubleSharp:
        drawGlyph(kDoubleSharp, QRectF(left, y - 0.5 * s, 0, 1.0 * s));
        break;
    case Accidental::None:
        break;
    }
}

void StaffPainter::drawGlyph(char32_t glyph, const QRectF &box)
{
    // Fitted by its outline rather than by the font's metrics, so the placement does not hang on
    // how the font sets its ascent.
    const QPainterPath outline = GlyphOutline(glyph);
    const QRectF bounds = outline.boundingRect();
    if (bounds.isEmpty())
        return;
    const double scale = box.height() / bounds.height();
    QTransform fit;
    fit.translate(box.left() - bounds.left() * scale, box.top() - bounds.top() * scale);
    fit.scale(scale, scale);
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.fillPath(fit.map(outline), m_ink);
    m_painter.restore();
}

} // namespace corvane::dialogs
