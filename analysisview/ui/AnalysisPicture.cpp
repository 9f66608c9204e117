#include "AnalysisPicture.h"

#include "BandsPane.h"
#include "BeatGrid.h"
#include "IntonationPane.h"
#include "NotesPane.h"
#include "PaneFrame.h"
#include "PaneContext.h"
#include "PaneLayout.h"
#include "TimeRuler.h"
#include "VolumePane.h"
#include "WavePane.h"

#include <QFontMetrics>
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

    void renderTicks(QPainter &painter, const std::vector<RulerTick> &ticks, int top, int bottom)
    {
        const int baseline = top + QFontMetrics(painter.font()).ascent() + 3;
        for (const RulerTick &tick : ticks) {
            const int x = TimeAxis::kDataLeft + tick.x;
            painter.drawLine(x, top, x, top + (tick.major ? bottom - top : 4));
            if (tick.major)
                painter.drawText(x + 3, baseline, QString::fromStdString(tick.label));
        }
    }

} // namespace

int AnalysisPicture::pictureHeight(const PaneLayout &layout)
{
    return layout.totalHeight() + rulerHeight(layout.timingShown());
}

void AnalysisPicture::renderRuler(QPainter &painter, const QRect &rect, const PaneContext &context,
                                  const BeatGrid *grid, const QPalette &palette)
{
    painter.save();
    painter.fillRect(rect, palette.window());
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const TimeRuler::Measure measure = [&metrics](const std::string &text) {
        return metrics.horizontalAdvance(QString::fromStdString(text));
    };
    painter.setPen(palette.color(QPalette::WindowText));
    const int baseline = rect.top() + metrics.ascent() + 3;
    PaneFrame::label(painter, baseline, QStringLiteral("Time"));
    if (grid)
        PaneFrame::label(painter, baseline + kRulerRowHeight, QStringLiteral("Bars"));
    painter.setPen(palette.color(QPalette::Mid));
    painter.drawLine(rect.left(), rect.top(), rect.right(), rect.top());

    const TimeAxis &axis = context.axis;
    const int width = context.right - TimeAxis::kDataLeft + 1;
    const double leftEdge = axis.firstVisibleBlock() * axis.secondsPerBlock();
    painter.setClipRect(QRect(QPoint(TimeAxis::kDataLeft, rect.top()), rect.bottomRight()),
                        Qt::IntersectClip);
    painter.setPen(palette.color(QPalette::WindowText));
    const int rowBottom = rect.top() + kRulerRowHeight - 1;
    renderTicks(painter, TimeRuler::clockTicks(leftEdge, axis.secondsPerPixel(), width, measure),
                rect.top(), rowBottom);
    if (grid) {
        const auto ticks = TimeRuler::beatTicks(grid->originPhase(), grid->interval(), leftEdge,
                                                axis.secondsPerPixel(), width, measure);
        renderTicks(painter, ticks, rowBottom + 1, rowBottom + kRulerRowHeight);
    }
    painter.restore();
}

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
    if (overlay.ruler) {
        const QRect ruler(0, bottom + 1, context.right + 1, rulerHeight(layout.timingShown()));
        const BeatGrid *grid = layout.timingShown() ? overlay.grid : nullptr;
        // Paper is white whatever the screen: a picture uses the light colors.
        QPalette paper;
        paper.setColor(QPalette::Window, Qt::white);
        paper.setColor(QPalette::WindowText, Qt::black);
        paper.setColor(QPalette::Mid, QColor(128, 128, 128));
        renderRuler(painter, ruler, context, grid, paper);
    }
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
