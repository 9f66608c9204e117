#include "PinwheelPainter.h"

#include "PinwheelGeometry.h"
#include "TunerFonts.h"

#include <QFontMetrics>
#include <QPen>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

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

    // The degree's mean deviation as a bar on the line of "b<" and ">#", from the middle towards
    // the side the note leans to: full length at 25 cents. A tick marks the middle, so that a
    // degree played in tune shows as the tick alone.
    void PaintIntonationBar(QPainter &painter, double meanCents, const PinwheelGeometry &g,
                            int width)
    {
        constexpr double kFullScaleCents = 25.0;
        const double reach = 0.28 * width;
        const double length = std::clamp(meanCents / kFullScaleCents, -1.0, 1.0) * reach;
        const double thickness = std::max(4.0, g.smallFontHeight * 0.5);
        const double middle = width / 2.0;
        const double y = g.flatMark.y + g.smallFontHeight / 2.0;
        // A light track with a dark bar in it: it shows on the light and the dark backgrounds and
        // on the rim, and the bar's side of the tick says flat or sharp without its color.
        const QRectF track(middle - reach, y - thickness / 2.0, 2.0 * reach, thickness);
        painter.setPen(QPen(QColor(110, 110, 110), 1.0));
        painter.setBrush(QColor(245, 245, 245));
        painter.drawRect(track);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(40, 40, 40));
        painter.drawRect(QRectF(std::min(middle, middle + length), track.top(), std::abs(length),
                                track.height()));
        painter.drawRect(QRectF(middle - 1.0, y - thickness, 2.0, 2.0 * thickness));
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

    if (g.marks) {
        painter.setFont(TunerFont(g.smallFontHeight, QFont::Normal));
        painter.setPen(ToQColor(picture.text));
        const QRect marks(0, g.flatMark.y, width, height);
        painter.drawText(marks.adjusted(g.flatMark.x, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                         QStringLiteral("b<"));
        painter.drawText(marks.adjusted(0, 0, g.sharpMark.x - width, 0),
                         Qt::AlignRight | Qt::AlignTop, QStringLiteral(">#"));
    }

    if (picture.meanCents)
        PaintIntonationBar(painter, *picture.meanCents, g, width);

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
