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
    const int zoom = context.axis.columnsPerBlock();
    // Zoomed out, the blocks of one column are drawn as one bar, their loudest: an hour's worth
    // of rectangles per paint would be the slowest thing in the view.
    int barX = TimeAxis::kDataLeft;
    int bar = 0;
    bool noteStarts = false; // a note starts in the bar's column: its line goes over the bar
    constexpr int kMinLineGap = 4;
    int lastLine = -kMinLineGap;
    auto flush = [&] {
        if (bar > 0)
            painter.fillRect(QRect(barX, m - bar, zoom, 2 * bar), Qt::black);
        // Zoomed out, a line for every note would cover the bars; one every few pixels still
        // shows where the notes change.
        if (noteStarts && barX - lastLine >= kMinLineGap) {
            painter.setPen(QPen(Qt::red, 1, Qt::DotLine));
            painter.drawLine(barX, rect.top(), barX, rect.bottom());
            lastLine = barX;
        }
        bar = 0;
        noteStarts = false;
    };
    context.forEachVisibleSample([&](std::size_t i, int x) {
        if (x != barX)
            flush();
        barX = x;
        const double level = std::max(context.analysis->samples()[i].level(), 0.0);
        bar = std::max(bar, std::min(static_cast<int>(std::sqrt(level) * half), half));
        const NoteRun *run = context.runOf(i);
        noteStarts = noteStarts || (run && run->firstSample == i && !run->unstable);
    });
    flush();
    painter.restore();
}

} // namespace corvane
