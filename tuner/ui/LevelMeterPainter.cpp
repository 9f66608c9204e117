#include "LevelMeterPainter.h"

#include "TunerFonts.h"

#include <QPainter>

namespace corvane::tuner {

namespace {

    QColor ToQColor(Rgb c)
    {
        return QColor(c.red, c.green, c.blue);
    }

    QRect ToQRect(const PixelRect &r)
    {
        return QRect(r.left, r.top, r.width(), r.height());
    }

} // namespace

void PaintLevelMeter(QPainter &painter, const LevelMeterPicture &p)
{
    painter.save();
    // Bars and ticks lie on whole pixels: filled rectangles keep them sharp at any scale.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setClipRect(ToQRect(p.frame));
    painter.fillRect(ToQRect(p.frame), ToQColor(p.frameColor));
    painter.fillRect(ToQRect(p.trough), ToQColor(p.troughColor));
    if (p.bar.width() > 0 && p.bar.height() > 0)
        painter.fillRect(ToQRect(p.bar), ToQColor(p.barColor));
    if (p.peak)
        painter.fillRect(ToQRect(*p.peak), ToQColor(p.peakColor));
    for (const LevelMeterPicture::Line &tick : p.ticks)
        painter.fillRect(QRect(QPoint(tick.x1, tick.y1), QPoint(tick.x2, tick.y2)),
                         ToQColor(p.tickColor));

    painter.setFont(TunerFont(12, QFont::Light));
    painter.setPen(ToQColor(p.textColor));
    for (const LevelMeterPicture::Label &label : p.labels) {
        const QString text = QString::fromStdString(label.text);
        const int width = painter.fontMetrics().horizontalAdvance(text);
        painter.drawText(QPointF(label.x - width / 2.0, label.y), text);
    }
    painter.restore();
}

} // namespace corvane::tuner
