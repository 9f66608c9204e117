#include "IntonationPane.h"

#include "CPitch.h"
#include "PaneContext.h"
#include "PaneFrame.h"

#include <QPainter>

#include <algorithm>

namespace corvane {

void IntonationPane::render(QPainter &painter, const QRect &rect, const PaneContext &context)
{
    painter.save();
    PaneFrame::draw(painter, rect, QColor(240, 240, 240), context);
    const int m = rect.top() + rect.height() / 2;
    const int h = (rect.height() - 20) / 2;

    painter.setPen(Qt::blue);
    PaneFrame::label(painter, m - h + 5, QStringLiteral("+50 cents"));
    PaneFrame::label(painter, m + 5, QStringLiteral("Pitch Center"));
    PaneFrame::label(painter, m + h + 5, QStringLiteral("-50 cents"));

    const int left = TimeAxis::kDataLeft + 1;
    const int right = context.right - 1;
    painter.drawLine(left, m, right, m);
    painter.setPen(QPen(Qt::blue, 1, Qt::DashDotDotLine));
    painter.drawLine(left, m - h, right, m - h);
    painter.drawLine(left, m + h, right, m + h);

    painter.setPen(QPen(Qt::black, 2));
    painter.setClipRect(PaneFrame::dataArea(rect, context).adjusted(1, 1, -1, -1),
                        Qt::IntersectClip);
    const int zoom = context.axis.columnsPerBlock();
    bool inRun = false;
    QPoint last;
    context.forEachVisibleSample([&](std::size_t i, int x) {
        const NoteRun *run = context.runOf(i);
        const CSample &sample = context.analysis->samples()[i];
        if (!run || run->rest || run->unstable) {
            inRun = false;
            return;
        }
        // Positive cents: the sample lies above its note, and is drawn above the center.
        const double cents = std::clamp(
                -CPitch::Cents(context.pitch.NoteFreq(sample.note()), sample.frequency()), -50.0,
                50.0);
        const int y = m - static_cast<int>(0.02 * h * cents);
        if (inRun)
            painter.drawLine(last, QPoint(x, y));
        painter.drawLine(QPoint(x, y), QPoint(x + zoom, y));
        last = QPoint(x + zoom, y);
        inRun = true;
    });
    painter.restore();
}

} // namespace corvane
