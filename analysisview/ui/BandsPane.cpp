#include "BandsPane.h"

#include "ColumnEnvelope.h"
#include "PaneContext.h"
#include "PaneFrame.h"
#include "PaneLayout.h"
#include "TempBandFiles.h"

#include <QPainter>

namespace corvane {

void BandsPane::render(QPainter &painter, const QRect &rect, const PaneContext &context)
{
    painter.save();
    PaneFrame::draw(painter, rect, QColor(90, 90, 90), context);
    const TimeAxis &axis = context.axis;
    painter.setPen(Qt::black);
    for (int b = 0; b < TempBandFiles::kBandCount; ++b) {
        const auto [upper, lower] = PaneLayout::bandLabels(axis.sampleRate(), b);
        PaneFrame::label(painter, rect.top() + 28 + 60 * b, QString::fromStdString(upper));
        PaneFrame::label(painter, rect.top() + 43 + 60 * b, QString::fromStdString(lower));
    }

    const QRect data = PaneFrame::dataArea(rect, context).adjusted(1, 1, -1, -1);
    painter.setClipRect(data, Qt::IntersectClip);
    painter.setPen(QPen(Qt::white, 1, Qt::DashDotDotLine));
    for (int b = 1; b < TempBandFiles::kBandCount; ++b)
        painter.drawLine(data.left(), rect.top() + 60 * b, data.right(), rect.top() + 60 * b);
    if (!context.loaded()) {
        painter.restore();
        return;
    }

    painter.setPen(QColor(255, 127, 0));
    for (int b = 0; b < TempBandFiles::kBandCount; ++b) {
        // Each band file holds a fixed number of values per block (fewer for the lower,
        // decimated bands); the file itself says how many.
        const int64_t values = context.analysis->reader(b).floatCount();
        const auto perBlock = static_cast<double>(values / std::max(context.sampleCount(), 1));
        const auto columns = context.envelope(b, 0.0, perBlock / axis.pixelsPerBlock(),
                                              context.visibleColumns());
        const int center = rect.top() + 30 + 60 * b;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (columns[c].empty)
                continue;
            const int x = TimeAxis::kDataLeft + static_cast<int>(c);
            painter.drawLine(x, center - static_cast<int>(50 * columns[c].high), x,
                             center - static_cast<int>(50 * columns[c].low));
        }
    }
    painter.restore();
}

} // namespace corvane
