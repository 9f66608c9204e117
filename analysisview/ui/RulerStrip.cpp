#include "RulerStrip.h"

#include <QPainter>

namespace corvane {

RulerStrip::RulerStrip(Paint paint, QWidget *parent)
    : QWidget(parent)
    , m_paint(std::move(paint))
{
    setAccessibleName(QStringLiteral("Time ruler"));
}

void RulerStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_paint(painter, rect());
}

} // namespace corvane
