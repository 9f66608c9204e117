#include "ToneIconEngine.h"

#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>

namespace corvane::tuner {

ToneIconEngine::ToneIconEngine(bool on, int designSize) noexcept
    : m_on(on)
    , m_designSize(designSize)
{
}

QIcon ToneIconEngine::Icon(bool on, int designSize)
{
    return QIcon(new ToneIconEngine(on, designSize)); // the icon owns its engine
}

void ToneIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State)
{
    const int side = std::min(rect.width(), rect.height());
    if (side <= 0)
        return;
    const int waves = m_designSize >= 48 ? 3 : m_designSize >= 32 ? 2 : 1;
    const bool disabled = mode == QIcon::Disabled;

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    // Draw on a 48-unit square centered in the rect.
    painter->translate(rect.x() + (rect.width() - side) / 2.0,
                       rect.y() + (rect.height() - side) / 2.0);
    painter->scale(side / 48.0, side / 48.0);

    const QColor body = disabled ? QColor(160, 160, 160)
            : m_on               ? QColor(40, 40, 40)
                                 : QColor(130, 130, 130);
    QPainterPath speaker;
    speaker.moveTo(4, 17);
    speaker.lineTo(13, 17);
    speaker.lineTo(25, 6);
    speaker.lineTo(25, 42);
    speaker.lineTo(13, 31);
    speaker.lineTo(4, 31);
    speaker.closeSubpath();
    if (waves >= 3)
        painter->setPen(QPen(body.darker(150), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    else
        painter->setPen(Qt::NoPen);
    painter->setBrush(body);
    painter->drawPath(speaker);

    painter->setBrush(Qt::NoBrush);
    if (m_on) {
        const QColor wave = disabled ? QColor(160, 160, 160) : QColor(0, 165, 0);
        const double penWidth = waves == 1 ? 5.0 : waves == 2 ? 4.0 : 3.5;
        painter->setPen(QPen(wave, penWidth, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < waves; ++i) {
            const double r = waves == 1 ? 11.0 : 8.0 + i * (waves == 2 ? 9.0 : 7.0);
            painter->drawArc(QRectF(24 - r, 24 - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
        }
    } else {
        const QColor cross = disabled ? QColor(170, 170, 170) : QColor(180, 40, 40);
        painter->setPen(QPen(cross, waves == 1 ? 5.0 : 4.0, Qt::SolidLine, Qt::RoundCap));
        painter->drawLine(QPointF(31, 17), QPointF(44, 31));
        painter->drawLine(QPointF(44, 17), QPointF(31, 31));
    }
    painter->restore();
}

QPixmap ToneIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return scaledPixmap(size, mode, state, 1.0);
}

QPixmap ToneIconEngine::scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                                     qreal scale)
{
    QPixmap pixmap(size * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    return pixmap;
}

QIconEngine *ToneIconEngine::clone() const
{
    return new ToneIconEngine(m_on, m_designSize);
}

} // namespace corvane::tuner
