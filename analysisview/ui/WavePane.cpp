#include "WavePane.h"

#include "ColumnEnvelope.h"
#include "PaneContext.h"
#include "PaneFrame.h"
#include "TempBandFiles.h"

#include <QPainter>

namespace corvane {

void WavePane::render(QPainter &painter, const QRect &rect, const PaneContext &context)
{
    painter.save();
    PaneFrame::draw(painter, rect, QColor(60, 60, 60), context);
    const int m = rect.top() + rect.height() / 2;
    painter.setPen(Qt::black);
    PaneFrame::label(painter, rect.top() + 45, QStringLiteral("Music"));
    PaneFrame::label(painter, rect.top() + 60, QStringLiteral("Signal"));

    const QRect data = PaneFrame::dataArea(rect, context).adjusted(1, 1, -1, -1);
    painter.setClipRect(data, Qt::IntersectClip);
    painter.setPen(Qt::lightGray);
    painter.drawLine(data.left(), m, data.right(), m);
    if (!context.loaded()) {
        painter.restore();
        return;
    }

    // The analyzer reports a block after it heard it; the signal is drawn that much later so a
    // note's waveform stands under its note head.
    const TimeAxis &axis = context.axis;
    const double base = -context.analysis->maxDelay() * axis.sampleRate();
    const auto columns = context.envelope(TempBandFiles::kSignalFile, base, axis.framesPerPixel(),
                                          context.visibleColumns());
    const double scale = rect.height() - 20;
    painter.setPen(Qt::yellow);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const int x = TimeAxis::kDataLeft + static_cast<int>(c);
        if (columns[c].empty) {
            painter.drawPoint(x, m);
            continue;
        }
        painter.drawLine(x, m - static_cast<int>(scale * columns[c].high), x,
                         m - static_cast<int>(scale * columns[c].low));
    }
    painter.restore();
}

} // namespace corvane
