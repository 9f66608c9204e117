#include "PinwheelZoneStrip.h"

#include "Rgb.h"

#include <QPainter>

namespace corvane::tuner {

PinwheelZoneStrip::PinwheelZoneStrip(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PinwheelZoneStrip::setZones(const PinwheelZoneSettings &zones)
{
    if (zones == m_zones)
        return;
    m_zones = zones;
    update();
}

void PinwheelZoneStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int length = width();
    const std::array<int, 6> edges = m_zones.StripBoundaries(0, length);
    int left = 0;
    for (int zone = 0; zone < kPinwheelColorCount; ++zone) {
        const int right = zone < 6 ? edges[std::size_t(zone)] : length;
        const Rgb c = Rgb::fromColorRef(m_zones.colors()[std::size_t(zone)]);
        if (right > left)
            painter.fillRect(QRect(left, 0, right - left, height()),
                             QColor(c.red, c.green, c.blue));
        left = std::max(left, right);
    }
    painter.fillRect(QRect(length / 2, 0, 1, height()), Qt::black);
}

} // namespace corvane::tuner
