#include "MusicGlyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace corvane {

namespace {

    void trebleClef(QPainter &p, int m)
    {
        // The curl wraps the G line (one line below the middle), the stem runs the staff's height.
        const int g = m + 8;
        QPainterPath path;
        path.moveTo(30, g + 2);
        path.cubicTo(22, g + 2, 22, g - 9, 31, g - 9);
        path.cubicTo(41, g - 9, 42, g + 7, 31, g + 8);
        path.cubicTo(18, g + 9, 17, g - 10, 27, g - 18);
        path.cubicTo(36, g - 25, 37, g - 34, 32, g - 34);
        path.cubicTo(27, g - 34, 27, g - 24, 29, g - 10);
        path.lineTo(33, g + 18);
        path.cubicTo(34, g + 24, 26, g + 24, 26, g + 19);
        p.setPen(QPen(Qt::black, 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        p.setBrush(Qt::black);
        p.drawEllipse(QPoint(27, g + 19), 2, 2);
    }

    void bassClef(QPainter &p, int m)
    {
        // The head sits on the F line (one line above the middle), the dots either side of it.
        const int f = m - 8;
        QPainterPath path;
        path.moveTo(24, f);
        path.cubicTo(24, f - 10, 44, f - 10, 44, f + 2);
        path.cubicTo(44, f + 14, 32, f + 22, 22, f + 26);
        p.setPen(QPen(Qt::black, 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        p.setBrush(Qt::black);
        p.drawEllipse(QPoint(26, f + 1), 3, 3);
        p.drawEllipse(QPoint(50, f - 4), 2, 2);
        p.drawEllipse(QPoint(50, f + 4), 2, 2);
    }

    void cClef(QPainter &p, int m, int c)
    {
        p.setPen(QPen(Qt::black, 3));
        p.drawLine(22, m - 16, 22, m + 16);
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(27, m - 16, 27, m + 16);
        QPainterPath path;
        path.moveTo(27, c);
        path.cubicTo(33, c - 2, 33, m - 17, 40, m - 16);
        path.cubicTo(48, m - 15, 46, c - 4, 38, c - 4);
        path.moveTo(27, c);
        path.cubicTo(33, c + 2, 33, m + 17, 40, m + 16);
        path.cubicTo(48, m + 15, 46, c + 4, 38, c + 4);
        p.setPen(QPen(Qt::black, 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }

    void flat(QPainter &p, int x, int top)
    {
        p.drawLine(x + 3, top, x + 3, top + 20);
        QPainterPath belly;
        belly.moveTo(x + 3, top + 14);
        belly.cubicTo(x + 8, top + 10, x + 11, top + 15, x + 3, top + 20);
        p.drawPath(belly);
    }

} // namespace

void MusicGlyphs::clef(QPainter &painter, int clef, int middle)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    switch (clef) {
    case 1:
        cClef(painter, middle, middle);
        break;
    case 2:
        cClef(painter, middle, middle - 8);
        break;
    case 3:
        bassClef(painter, middle);
        break;
    default:
        trebleClef(painter, middle);
        break;
    }
    painter.restore();
}

void MusicGlyphs::noteHead(QPainter &painter, int x, int y)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QRect(x, y, 9, 7));
    painter.restore();
}

void MusicGlyphs::accidental(QPainter &painter, Accidental sign, int x, int top)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Qt::black, 1.2));
    painter.setBrush(Qt::NoBrush);
    switch (sign) {
    case Accidental::Sharp:
        painter.drawLine(x + 4, top + 4, x + 4, top + 19);
        painter.drawLine(x + 7, top + 3, x + 7, top + 18);
        painter.setPen(QPen(Qt::black, 2));
        painter.drawLine(x + 1, top + 9, x + 10, top + 7);
        painter.drawLine(x + 1, top + 15, x + 10, top + 13);
        break;
    case Accidental::Natural:
        painter.drawLine(x + 3, top + 3, x + 3, top + 15);
        painter.drawLine(x + 8, top + 7, x + 8, top + 19);
        painter.setPen(QPen(Qt::black, 2));
        painter.drawLine(x + 3, top + 9, x + 8, top + 8);
        painter.drawLine(x + 3, top + 15, x + 8, top + 14);
        break;
    case Accidental::Flat:
        flat(painter, x + 2, top);
        break;
    case Accidental::DoubleFlat:
        flat(painter, x - 3, top);
        flat(painter, x + 4, top);
        break;
    case Accidental::DoubleSharp:
        painter.setPen(QPen(Qt::black, 2));
        painter.drawLine(x + 2, top + 7, x + 9, top + 14);
        painter.drawLine(x + 2, top + 14, x + 9, top + 7);
        break;
    case Accidental::None:
        break;
    }
    painter.restore();
}

} // namespace corvane
