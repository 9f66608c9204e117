#include "PinwheelWidget.h"

#include "PinwheelPainter.h"

#include <QPainter>

namespace corvane::tuner {

PinwheelWidget::PinwheelWidget(QWidget *parent)
    : QWidget(parent)
{
    // Every pixel is painted each time, so Qt need not clear first: no flicker on a fast turn.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_picture.face = Rgb::gray(170);
    m_picture.blades = Rgb::gray(85);
    m_picture.background = Rgb::gray(200);
}

void PinwheelWidget::setPicture(const WheelPicture &picture)
{
    if (picture == m_picture)
        return;
    m_picture = picture;
    update();
}

void PinwheelWidget::setFontWidth(int width)
{
    if (width == m_fontWidth)
        return;
    m_fontWidth = width;
    update();
}

void PinwheelWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    PaintPinwheel(painter, m_picture, rect(), m_fontWidth);
}

} // namespace corvane::tuner
