#include "IntonationPane.h"

#include "CPitch.h"
#include "PaneContext.h"
#include "PaneFrame.h"

#include <QPainter>

#include <algorithm>
#include <optional>

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
    // The height of a sample of a steady note, none for rests and unsteady stretches.
    auto yOf = [&](std::size_t i) -> std::optional<int> {
        const NoteRun *run = context.runOf(i);
        if (!run || run->rest || run->unstable)
            return std::nullopt;
        const CSample &sample = context.analysis->samples()[i];
        // Positive cents: the sample lies above its note, and is drawn above the center.
        const double cents = std::clamp(
                -CPitch::Cents(context.pitch.NoteFreq(sample.note()), sample.frequency()), -50.0,
                50.0);
        return m - static_cast<int>(0.02 * h * cents);
    };
    if (context.axis.blocksPerColumn() > 1) {
        // Zoomed out, each column shows the spread of its samples as one stroke: thousands of
        // short lines an hour would cost more than the rest of the view together.
        int columnX = TimeAxis::kDataLeft;
        int low = 0;
        int high = -1;
        auto flush = [&] {
            if (high >= low)
                painter.drawLine(columnX, low, columnX, high);
            high = -1;
        };
        context.forEachVisibleSample([&](std::size_t i, int x) {
            if (x != columnX)
                flush();
            columnX = x;
            if (const std::optional<int> y = yOf(i)) {
                const bool first = high < low;
                low = first ? *y : std::min(low, *y);
                high = first ? *y : std::max(high, *y);
            }
        });
        flush();
        painter.restore();
        return;
    }
    const int zoom = context.axis.columnsPerBlock();
    bool inRun = false;
    QPoint last;
    context.forEachVisibleSample([&](std::size_t i, int x) {
        const std::optional<int> y = yOf(i);
        if (!y) {
            inRun = false;
            return;
        }
        if (inRun)
            painter.drawLine(last, QPoint(x, *y));
        painter.drawLine(QPoint(x, *y), QPoint(x + zoom, *y));
        last = QPoint(x + zoom, *y);
        inRun = true;
    });
    painter.restore();
}

} // namespace corvane
