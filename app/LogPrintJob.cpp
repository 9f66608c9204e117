#include "LogPrintJob.h"

#include "CTCDefs.h"
#include "LogChartPainter.h"
#include "PracticeClocks.h"
#include "PracticeLogFile.h"
#include "PracticeLogStatistics.h"
#include "ProgramState.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace corvane {

namespace {

    QFont DeviceFont(const char *family, QFont::StyleHint hint, int points, QPaintDevice &device)
    {
        QFont font(QString::fromLatin1(family), points);
        font.setStyleHint(hint);
        return QFont(font, &device);
    }

    // The body's font: 10 points, or smaller where a run's line, the widest the log prints,
    // would reach past the right margin (one inch, as LogPageLayout keeps it).
    QFont BodyFont(QPaintDevice &device)
    {
        QFont font = DeviceFont("Courier New", QFont::TypeWriter, 10, device);
        const LogRecord widest { 0, 36000, 36000 }; // ten hours, all of them active
        const QString line = QString::fromStdString(RunLine(widest));
        const int room = device.width() - 2 * device.logicalDpiX();
        const int wide = QFontMetrics(font, &device).horizontalAdvance(line);
        if (room > 0 && wide > room) {
            // A point's hundredth below the size that fits, so rounding cannot push it over.
            font.setPointSizeF(std::floor(1000.0 * room / wide) / 100.0);
        }
        return font;
    }

    int HeightWithLeading(const QFont &font, QPaintDevice &device)
    {
        const QFontMetrics metrics(font, &device);
        return metrics.height() + std::max(metrics.leading(), 0);
    }

} // namespace

LogPrintJob::LogPrintJob(QPaintDevice &device, PracticeLog log, std::int64_t runStart,
                         std::int64_t now, std::uint32_t options, std::size_t damagedLines,
                         const IntonationLog &figures, const IntonationStatistics *current)
    : m_body(BodyFont(device))
    , m_title(DeviceFont("Arial", QFont::SansSerif, 14, device))
    , m_sevenDays(DailyTimeChart(log, runStart, 7))
    , m_thirtyDays(DailyTimeChart(log, runStart, 30))
    , m_drift(DeviationDriftChart(figures, runStart, 30, current))
    , m_printout(std::move(log), runStart, now, options, Measure(device, m_body, m_title),
                 damagedLines)
{
}

LogPrintJob LogPrintJob::ofProgram(QPaintDevice &device, const PracticeClocks &clocks,
                                   const ProgramState &program)
{
    PracticeLog log;
    IntonationLog figures;
    const std::size_t damaged = LoadPracticeLog(log, clocks.run, clocks.active, &figures,
                                                program.folders.data / kPracticeLogFileName);
    return LogPrintJob(device, std::move(log), clocks.run.startTime(), clocks.run.currentTime(),
                       program.settings.GetLogOptions(), damaged, figures, &clocks.intonation);
}

LogDeviceMetrics LogPrintJob::Measure(QPaintDevice &device, const QFont &body, const QFont &title)
{
    LogDeviceMetrics m;
    m.dpiX = device.logicalDpiX();
    m.dpiY = device.logicalDpiY();
    m.width = device.width();
    m.height = device.height();
    m.lineHeight = HeightWithLeading(body, device);
    m.titleHeight = HeightWithLeading(title, device);
    return m;
}

void LogPrintJob::render(QPainter &painter, int page) const
{
    painter.save();
    painter.setPen(QPen(Qt::black, 0)); // a hairline: the thinnest line the device can show
    for (const LogPageItem &item : m_printout.page(page)) {
        if (item.kind == LogPageItem::Kind::Rule) {
            painter.drawLine(item.x, item.y, item.x2, item.y2);
            continue;
        }
        if (item.kind == LogPageItem::Kind::Chart) {
            const QRect area(QPoint(item.x, item.y), QPoint(item.x2, item.y2));
            if (item.chart == LogPageItem::ChartKind::Drift)
                PaintDriftChart(painter, area, m_drift, m_body);
            else
                PaintTimeChart(painter, area,
                               item.chart == LogPageItem::ChartKind::SevenDays ? m_sevenDays
                                                                               : m_thirtyDays,
                               m_body);
            continue;
        }
        const QFont &font = item.font == LogPageItem::Font::Title ? m_title : m_body;
        painter.setFont(font);
        const QFontMetrics metrics(font, painter.device());
        const QString text = QString::fromStdString(item.text);
        const int width = metrics.horizontalAdvance(text);
        const int x = item.alignRight ? item.x - width : item.x;
        painter.drawText(x, item.y + metrics.ascent(), text);
    }
    painter.restore();
}

bool LogPrintJob::print(QPrinter &printer) const
{
    int first = 1;
    int last = pageCount();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(printer.fromPage(), 1);
        last = std::min(printer.toPage() > 0 ? printer.toPage() : last, last);
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (int page = first; page <= last; ++page) {
        if (page > first)
            printer.newPage();
        render(painter, page);
    }
    return painter.end();
}

} // namespace corvane
