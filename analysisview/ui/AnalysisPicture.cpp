#include "AnalysisPicture.h"

#include "BandsPane.h"
#include "BeatGrid.h"
#include "IntonationPane.h"
#include "NotesPane.h"
#include "PaneContext.h"
#include "PaneLayout.h"
#include "VolumePane.h"
#include "WavePane.h"

#include <QPainter>

namespace corvane {

namespace {

    void renderPane(QPainter &painter, PaneKind kind, const QRect &rect, const PaneContext &context)
    {
        switch (kind) {
        case PaneKind::Notes:
            NotesPane::render(painter, rect, context);
            break;
        case PaneKind::Intonation:
            IntonationPane::render(painter, rect, context);
            break;
        case PaneKind::Volume:
            VolumePane::render(painter, rect, context);
            break;
        case PaneKind::Wave:
            WavePane::render(painter, rect, context);
            break;
        case PaneKind::Bands:
            BandsPane::render(painter, rect, context);
            break;
        }
    }

    void renderGrid(QPainter &painter, const BeatGrid &grid, const PaneContext &context, int top,
                    int bottom)
    {
        const TimeAxis &axis = context.axis;
        // Marks only over the recording itself.
        const int width = context.visibleColumns();
        painter.setPen(QColor(0, 255, 0));
        const double leftEdge = axis.firstVisibleBlock() * axis.secondsPerBlock();
        for (int offset : grid.markOffsets(leftEdge, axis.secondsPerPixel(), width)) {
            const int x = TimeAxis::kDataLeft + offset;
            painter.drawLine(x, top, x, bottom);
        }
    }

} // namespace

void AnalysisPicture::render(QPainter &painter, const PaneLayout &layout,
                             const PaneContext &context, int verticalOffset, const Overlay &overlay)
{
    const QRect clip = painter.hasClipping() ? painter.clipBoundingRect().toAlignedRect()
                                             : QRect(0, 0, context.right + 1, 1 << 20);
    for (const PaneSlot &slot : layout.panes()) {
        const QRect rect(0, slot.top - verticalOffset, context.right + 1, slot.height);
        if (!rect.intersects(clip))
            continue;
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
        renderPane(painter, slot.kind, rect, context);
        painter.restore();
    }

    const int top = -verticalOffset;
    const int bottom = layout.totalHeight() - verticalOffset - 1;
    painter.save();
    if (overlay.grid && layout.timingShown())
        renderGrid(painter, *overlay.grid, context, top, bottom);
    if (overlay.playing) {
        painter.setPen(QPen(Qt::blue, 2));
        const int x = context.axis.xOfBlock(overlay.playBlock);
        if (x >= TimeAxis::kDataLeft)
            painter.drawLine(x, top, x, bottom);
    }
    if (overlay.bpmShown) {
        painter.fillRect(overlay.bpmRect, QColor(255, 255, 0));
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(12);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(overlay.bpmRect.adjusted(5, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                         overlay.bpmText);
    }
    painter.restore();
}

} // namespace corvane
