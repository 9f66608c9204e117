#include "MusicIcons.h"

#include "StaffPainter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace corvane::dialogs {

namespace {

    constexpr qreal kScale = 2.0;

    QIcon Drawn(QSize size, const std::function<void(QPainter &, QRectF)> &draw)
    {
        QPixmap pixmap(size * kScale);
        pixmap.setDevicePixelRatio(kScale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
        painter.end();
        return QIcon(pixmap);
    }

} // namespace

QSize ClefIconSize()
{
    return { 40, 56 };
}

QSize KeySignatureIconSize()
{
    return { 84, 56 };
}

QSize WaveformIconSize()
{
    return { 40, 28 };
}

QIcon ClefIcon(int clef)
{
    return Drawn(ClefIconSize(), [clef](QPainter &painter, QRectF area) {
        StaffPainter staff(painter, area.adjusted(2, 0, -2, 0), 7.0);
        staff.drawLines();
        staff.drawClef(clef);
    });
}

QIcon KeySignatureIcon(int clef, int key)
{
    return Drawn(KeySignatureIconSize(), [clef, key](QPainter &painter, QRectF area) {
        StaffPainter staff(painter, area.adjusted(2, 0, -2, 0), 7.0);
        staff.drawLines();
        staff.drawKeySignature(clef, key, staff.drawClef(clef));
    });
}

QIcon WaveformIcon(Waveform waveform)
{
    return Drawn(WaveformIconSize(), [waveform](QPainter &painter, QRectF area) {
        const QRectF plot = area.adjusted(3, 4, -3, -4);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(150, 150, 150), 0.75));
        painter.drawLine(QPointF(plot.left(), plot.center().y()),
                         QPointF(plot.right(), plot.center().y()));
        QPainterPath wave;
        constexpr int kPoints = 200;
        for (int i = 0; i <= kPoints; ++i) {
            const double phase = double(i) / kPoints;
            // The square wave's edges are drawn upright rather than as one steep slope.
            const double value = WaveformValue(waveform, i == kPoints ? 0.9999 : phase);
            const QPointF point(plot.left() + phase * plot.width(),
                                plot.center().y() - value * plot.height() / 2.0);
            if (i == 0)
                wave.moveTo(point);
            else
                wave.lineTo(point);
        }
        painter.setPen(QPen(QColor(20, 40, 140), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(wave);
    });
}

} // namespace corvane::dialogs
