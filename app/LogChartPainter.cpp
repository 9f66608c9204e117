#include "LogChartPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace corvane {

namespace {

    const QColor kActive(40, 40, 40);
    const QColor kElapsed(200, 200, 200);
    const QColor kGrid(225, 225, 225);

    QString Clock(std::int64_t seconds)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 3600),
                      static_cast<long long>(seconds % 3600 / 60));
        return QString::fromLatin1(text);
    }

    // The plot inside `area`: room on the left for the scale's labels, under it for the days'.
    QRect PlotArea(const QRect &area, const QFontMetrics &metrics, const QString &widestLabel)
    {
        const int left = metrics.horizontalAdvance(widestLabel) + metrics.averageCharWidth();
        return area.adjusted(left, metrics.height() / 2, -metrics.averageCharWidth(),
                             -metrics.height() - 2);
    }

    // Day labels under the plot; on a long span only every few, so that they never touch.
    void PaintDayLabels(QPainter &painter, const QRect &plot,
                        const std::vector<std::string> &labels, const QFontMetrics &metrics)
    {
        const int n = int(labels.size());
        if (n == 0)
            return;
        const double slot = double(plot.width()) / n;
        const int every = std::max(
                1, int(std::ceil(metrics.horizontalAdvance(QStringLiteral("Wed ")) / slot)));
        for (int i = n - 1; i >= 0; i -= every) {
            const QString text = QString::fromStdString(labels[std::size_t(i)]);
            const int x = plot.left() + int((i + 0.5) * slot) - metrics.horizontalAdvance(text) / 2;
            painter.drawText(x, plot.bottom() + 2 + metrics.ascent(), text);
        }
    }

} // namespace

void PaintTimeChart(QPainter &painter, const QRect &area, const TimeChart &chart, const QFont &font)
{
    painter.save();
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());
    // The legend takes the first line; the bars never reach into it.
    const QRect plot =
            PlotArea(area.adjusted(0, metrics.height(), 0, 0), metrics, Clock(chart.topSeconds));
    const int days = int(chart.bars.size());
    if (days == 0 || chart.topSeconds <= 0 || plot.width() <= 0 || plot.height() <= 0) {
        painter.restore();
        return;
    }
    const auto yOf = [&](std::int64_t seconds) {
        return plot.bottom()
                - int(std::lround(double(plot.height()) * double(seconds)
                                  / double(chart.topSeconds)));
    };
    painter.setPen(QPen(kGrid, 0));
    painter.setBrush(Qt::NoBrush);
    for (std::int64_t s = chart.stepSeconds; s <= chart.topSeconds; s += chart.stepSeconds)
        painter.drawLine(plot.left(), yOf(s), plot.right(), yOf(s));
    painter.setPen(QPen(Qt::black, 0));
    for (std::int64_t s = 0; s <= chart.topSeconds; s += chart.stepSeconds) {
        const QString text = Clock(s);
        painter.drawText(plot.left() - metrics.averageCharWidth() / 2
                                 - metrics.horizontalAdvance(text),
                         yOf(s) + metrics.ascent() / 2, text);
    }

    const double slot = double(plot.width()) / days;
    for (int i = 0; i < days; ++i) {
        const DayBar &bar = chart.bars[std::size_t(i)];
        const int center = plot.left() + int((i + 0.5) * slot);
        const int elapsedHalf = std::max(1, int(slot * 0.35));
        const int activeHalf = std::max(1, int(slot * 0.2));
        if (bar.elapsedSeconds > 0) {
            const int top = yOf(std::min(bar.elapsedSeconds, chart.topSeconds));
            painter.fillRect(QRect(QPoint(center - elapsedHalf, top),
                                   QPoint(center + elapsedHalf, plot.bottom())),
                             kElapsed);
        }
        if (bar.activeSeconds > 0) {
            const int top = yOf(std::min(bar.activeSeconds, chart.topSeconds));
            painter.fillRect(QRect(QPoint(center - activeHalf, top),
                                   QPoint(center + activeHalf, plot.bottom())),
                             kActive);
        }
    }
    painter.drawLine(plot.left(), plot.bottom(), plot.right(), plot.bottom());
    std::vector<std::string> labels;
    for (const DayBar &bar : chart.bars)
        labels.push_back(bar.label);
    PaintDayLabels(painter, plot, labels, metrics);

    // The legend, in words beside the two shades.
    const int box = metrics.ascent() * 2 / 3;
    int x = plot.right() - metrics.horizontalAdvance(QStringLiteral("Active  Elapsed")) - 3 * box;
    const int y = area.top();
    for (const auto &[name, color] : { std::pair { "Active", kActive }, { "Elapsed", kElapsed } }) {
        painter.fillRect(x, y + (metrics.ascent() - box) / 2, box, box, color);
        x += box + box / 2;
        const QString text = QString::fromLatin1(name) + QStringLiteral("  ");
        painter.drawText(x, y + metrics.ascent(), text);
        x += metrics.horizontalAdvance(text);
    }
    painter.restore();
}

void PaintDriftChart(QPainter &painter, const QRect &area, const DriftChart &chart,
                     const QFont &font)
{
    // Twelve lines told apart by their names; the hues only help on screen and in color print.
    static const QColor kLines[] = { { 31, 119, 180 },  { 255, 127, 14 },  { 44, 160, 44 },
                                     { 214, 39, 40 },   { 148, 103, 189 }, { 140, 86, 75 },
                                     { 227, 119, 194 }, { 90, 90, 90 },    { 188, 189, 34 },
                                     { 23, 190, 207 },  { 0, 0, 128 },     { 128, 0, 0 } };
    painter.save();
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());
    QRect plot = PlotArea(area, metrics, QStringLiteral("+100"));
    plot.setRight(plot.right() - metrics.horizontalAdvance(QStringLiteral(" F#")));
    if (chart.days <= 0 || plot.width() <= 0 || plot.height() <= 0) {
        painter.restore();
        return;
    }
    const double top = chart.topCents;
    const auto yOf = [&](double cents) {
        return plot.center().y() - int(std::lround(cents / top * plot.height() / 2.0));
    };
    const double slot = double(plot.width()) / chart.days;
    const auto xOf = [&](int day) { return plot.left() + int((day + 0.5) * slot); };

    for (double c = -top; c <= top + 1e-9; c += 5.0) {
        painter.setPen(QPen(std::abs(c) < 1e-9 ? QColor(Qt::black) : kGrid, 0));
        painter.drawLine(plot.left(), yOf(c), plot.right(), yOf(c));
        if (std::fmod(std::abs(c), 10.0) < 1e-9) {
            painter.setPen(QPen(Qt::black, 0));
            const QString text =
                    c > 0 ? QStringLiteral("+%1").arg(int(c)) : QString::number(int(c));
            painter.drawText(plot.left() - metrics.averageCharWidth() / 2
                                     - metrics.horizontalAdvance(text),
                             yOf(c) + metrics.ascent() / 2, text);
        }
    }
    painter.setPen(QPen(Qt::black, 0));
    painter.drawLine(plot.left(), plot.top(), plot.left(), plot.bottom());
    PaintDayLabels(painter, plot, chart.dayLabels, metrics);

    painter.setRenderHint(QPainter::Antialiasing, true);
    const int dot = std::max(2, metrics.ascent() / 5);
    for (const DriftSeries &series : chart.series) {
        const QColor color = kLines[series.pitchClass % 12];
        QPainterPath path;
        for (std::size_t i = 0; i < series.points.size(); ++i) {
            const QPointF p(xOf(series.points[i].day), yOf(series.points[i].meanCents));
            if (i == 0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        painter.setPen(QPen(color, std::max(1, dot / 2)));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        painter.setBrush(color);
        for (const DriftPoint &p : series.points)
            painter.drawEllipse(QPointF(xOf(p.day), yOf(p.meanCents)), dot, dot);
        const DriftPoint &last = series.points.back();
        painter.setPen(QPen(Qt::black, 0));
        painter.drawText(xOf(last.day) + dot + 2, yOf(last.meanCents) + metrics.ascent() / 2,
                         QString::fromStdString(series.name));
    }
    painter.restore();
}

} // namespace corvane
