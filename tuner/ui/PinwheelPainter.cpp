#include "PinwheelPainter.h"

#include "PinwheelGeometry.h"
#include "TunerFonts.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace corvane::tuner {

namespace {

    QColor ToQColor(Rgb c)
    {
        return QColor(c.red, c.green, c.blue);
    }

    QRectF Box(const PixelRect &r)
    {
        return QRectF(r.left, r.top, r.width(), r.height());
    }

    void DrawCenteredOnBaseline(QPainter &painter, const QString &text, PinwheelGeometry::Point at)
    {
        const int width = painter.fontMetrics().horizontalAdvance(text);
        painter.drawText(QPointF(at.x - width / 2.0, at.y), text);
    }

} // namespace

void PaintPinwheel(QPainter &painter, const WheelPicture &picture, const QRect &rect, int fontWidth)
{
    const int width = rect.width();
    const int height = rect.height();
    if (width <= 0 || height <= 0)
        return;
    const PinwheelGeometry g =
            PinwheelGeometry::For(width, height, picture.phase, fontWidth > 0 ? fontWidth : width);

    painter.save();
    painter.translate(rect.topLeft());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(QRect(0, 0, width, height), ToQColor(picture.background));

    painter.setPen(Qt::NoPen);
    const QRectF rim = Box(g.rim);
    painter.setBrush(QColor(223, 223, 223));
    painter.drawEllipse(rim);
    QPainterPath bevel;
    bevel.arcMoveTo(rim, g.bevel.start);
    bevel.arcTo(rim, g.bevel.start, g.bevel.span);
    bevel.closeSubpath();
    painter.setBrush(QColor(128, 128, 128));
    painter.drawPath(bevel);

    const QRectF face = Box(g.face);
    painter.setBrush(ToQColor(picture.face));
    painter.drawEllipse(face);
    painter.setBrush(ToQColor(picture.blades));
    for (const PinwheelGeometry::Arc &blade : g.blades) {
        QPainterPath pie;
        pie.moveTo(face.center());
        pie.arcTo(face, blade.start, blade.span);
        pie.closeSubpath();
        painter.drawPath(pie);
    }

    painter.setFont(TunerFont(g.smallFontHeight, QFont::Normal));
    painter.setPen(ToQColor(picture.text));
    const QRect marks(0, g.flatMark.y, width, height);
    painter.drawText(marks.adjusted(g.flatMark.x, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("b<"));
    painter.drawText(marks.adjusted(0, 0, g.sharpMark.x - width, 0), Qt::AlignRight | Qt::AlignTop,
                     QStringLiteral(">#"));

    if (!picture.name.empty()) {
        const QString name = QString::fromStdString(picture.name);
        painter.setFont(TunerFont(g.nameFontHeight, QFont::DemiBold));
        painter.setPen(QColor(85, 85, 85));
        DrawCenteredOnBaseline(painter, name, g.nameShadow);
        painter.setPen(Qt::white);
        DrawCenteredOnBaseline(painter, name, g.name);
    }
    painter.restore();
}

} // namespace corvane::tuner
