#include "PaneFrame.h"

#include "PaneContext.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace corvane {

const QColor PaneFrame::kFace(192, 192, 192);
const QColor PaneFrame::kShadow(128, 128, 128);
const QColor PaneFrame::kHighlight(223, 223, 223);
const QColor PaneFrame::kSelection(150, 150, 150);

namespace {

    void sunkenBevel(QPainter &painter, const QRect &r)
    {
        painter.setPen(PaneFrame::kShadow);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(PaneFrame::kHighlight);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    }

} // namespace

QRect PaneFrame::dataArea(const QRect &rect, const PaneContext &context)
{
    return QRect(QPoint(TimeAxis::kDataLeft, rect.top()),
                 QPoint(std::max(context.right, TimeAxis::kDataLeft), rect.bottom()));
}

void PaneFrame::draw(QPainter &painter, const QRect &rect, const QColor &background,
                     const PaneContext &context)
{
    painter.save();
    const QRect labels(QPoint(0, rect.top()), QPoint(TimeAxis::kLabelWidth - 1, rect.bottom()));
    painter.fillRect(labels, kFace);
    sunkenBevel(painter, labels);

    const QRect data = dataArea(rect, context);
    painter.fillRect(QRect(QPoint(TimeAxis::kLabelWidth, rect.top()), data.bottomRight()), kFace);
    painter.fillRect(data.adjusted(1, 1, -1, -1), background);
    sunkenBevel(painter, data);
    drawSelection(painter, rect, context);
    painter.restore();
}

void PaneFrame::drawSelection(QPainter &painter, const QRect &rect, const PaneContext &context)
{
    if (context.selection.empty())
        return;
    const QRect data = dataArea(rect, context).adjusted(1, 1, -1, -1);
    const int from = context.axis.xOfBlock(context.selection.start());
    const int to = context.axis.xOfBlock(context.selection.end());
    const QRect shade = QRect(QPoint(from, data.top()), QPoint(to - 1, data.bottom())) & data;
    if (!shade.isEmpty())
        painter.fillRect(shade, kSelection);
}

void PaneFrame::label(QPainter &painter, int baseline, const QString &text)
{
    const int width = QFontMetrics(painter.font()).horizontalAdvance(text);
    painter.drawText(kLabelRight - width, baseline, text);
}

} // namespace corvane
