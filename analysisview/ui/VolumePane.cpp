#include "VolumePane.h"

#include "PaneContext.h"
#include "PaneFrame.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace corvane {

void VolumePane::render(QPainter &painter, const QRect &rect, const PaneContext &context)
{
    painter.save();
    PaneFrame::draw(painter, rect, QColor(240, 240, 240), context);
    const int m = rect.top() + rect.height() / 2;
    const int half = (rect.height() - 20) / 2;
    painter.setPen(Qt::black);
    PaneFrame::label(painter, m, QStringLiteral("Volume"));

    painter.setClipRect(PaneFrame::dataArea(rect, context).adjusted(1, 1, -1, -1),
                        Qt::IntersectClip);
    const int zoom = context.axis.pixelsPerBlock();
    context.forEachVisibleSample([&](std::size_t i, int x) {
        const double level = std::max(context.analysis->samples()[i].level(), 0.0);
        const int b = std::min(static_cast<int>(std::sqrt(level) * half), half);
        if (b > 0)
            painter.fillRect(QRect(x, m - b, zoom, 2 * b), Qt::black);
        const NoteRun *run = context.runOf(i);
        if (run && run->firstSample == i && !run->unstable) {
            painter.setPen(QPen(Qt::red, 1, Qt::DotLine));
            painter.drawLine(x, rect.top(), x, rect.bottom());
        }
    });
    painter.restore();
}

} // namespace corvane
