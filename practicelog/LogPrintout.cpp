#include "LogPrintout.h"

#include "LocalCalendar.h"
#include "LogOptions.h"
#include "PracticeLogFile.h"
#include "PracticeLogStatistics.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace corvane {

namespace {

    const char *ListingTitle(LogListing listing) noexcept
    {
        switch (listing) {
        case LogListing::Today:
            return "Today's Log";
        case LogListing::SevenDay:
            return "Seven Day Log";
        case LogListing::Complete:
            return "Complete Log";
        case LogListing::None:
            break;
        }
        return "";
    }

    std::int64_t CutoffFor(LogListing listing, std::int64_t now) noexcept
    {
        switch (listing) {
        case LogListing::Today:
            return TodayCutoff(now);
        case LogListing::SevenDay:
            return SevenDayCutoff(now);
        case LogListing::Complete:
            return CompleteCutoff(now);
        case LogListing::None:
            break;
        }
        return 0;
    }

} // namespace

LogPrintout::LogPrintout(PracticeLog log, std::int64_t runStart, std::int64_t now,
                         std::uint32_t options, const LogDeviceMetrics &device,
                         std::size_t damagedLines)
    : m_log(std::move(log))
    , m_runStart(runStart)
    , m_now(now)
    , m_options(options)
    , m_damagedLines(damagedLines)
    , m_layout(LogPageLayout::compute(device, options))
{
    const LogListing listing = ListingOf(options);
    if (listing != LogListing::None) {
        m_cutoff = CutoffFor(listing, now);
        m_listed = std::int64_t(CountRunsSince(m_log, m_cutoff));
    }
    m_pages = m_layout.pageCount(m_listed) + ((options & logoption::kCharts) ? 1 : 0);
}

bool LogPrintout::IsChartPage(int page) const noexcept
{
    return (m_options & logoption::kCharts) && page == m_pages;
}

void LogPrintout::AddCharts(std::vector<LogPageItem> &items) const
{
    static constexpr struct
    {
        const char *title;
        LogPageItem::ChartKind kind;
    } kCharts[] = {
        { "Last Seven Days: Active and Elapsed Time", LogPageItem::ChartKind::SevenDays },
        { "Last Thirty Days: Active and Elapsed Time", LogPageItem::ChartKind::ThirtyDays },
        { "Mean Deviation of Each Note (cents, + = sharp)", LogPageItem::ChartKind::Drift },
    };
    const LogPageLayout &l = m_layout;
    const int titled = l.titleHeight + l.lineHeight / 2;
    const int gap = 2 * l.lineHeight;
    const int chartHeight =
            std::max(l.lineHeight, (l.bottom - l.bodyStart - 3 * titled - 2 * gap) / 3);
    int y = l.bodyStart;
    for (const auto &chart : kCharts) {
        AddText(items, y, chart.title, LogPageItem::Font::Title);
        y += titled;
        LogPageItem area;
        area.kind = LogPageItem::Kind::Chart;
        area.x = l.left;
        area.y = y;
        area.x2 = l.right;
        area.y2 = y + chartHeight;
        area.chart = chart.kind;
        items.push_back(std::move(area));
        y += chartHeight + gap;
    }
}

std::vector<LogPageItem> LogPrintout::page(int page) const
{
    std::vector<LogPageItem> items;
    if (page < 1 || page > m_pages)
        return items;
    AddHeaderAndFooter(items, page);
    if (IsChartPage(page)) {
        AddCharts(items);
        return items;
    }
    int y = m_layout.bodyStart;
    const LogListing listing = ListingOf(m_options);
    if (page == 1) {
        y = AddSummaries(items, y);
        if (listing != LogListing::None) {
            AddText(items, y, ListingTitle(listing), LogPageItem::Font::Title);
            y += m_layout.titleHeight + m_layout.lineHeight;
        }
    }
    if (listing != LogListing::None)
        AddRuns(items, page, y);
    return items;
}

void LogPrintout::AddHeaderAndFooter(std::vector<LogPageItem> &items, int page) const
{
    const LogPageLayout &l = m_layout;
    AddText(items, l.headerLine, "Corvane Log");
    LogPageItem date;
    date.x = l.right;
    date.y = l.headerLine;
    date.text = LocalCalendar::dateText(m_now);
    date.alignRight = true;
    items.push_back(std::move(date));
    items.push_back({ LogPageItem::Kind::Rule,
                      LogPageItem::Font::Body,
                      l.left,
                      l.top - 1,
                      l.right,
                      l.top - 1,
                      {},
                      false });

    char footer[64];
    std::snprintf(footer, sizeof footer, "Page %d of %d", page, m_pages);
    AddText(items, l.bottom + 15, footer);
    if (page == 1 && m_damagedLines > 0) {
        LogPageItem note;
        note.x = l.right;
        note.y = l.bottom + 15;
        note.text = DamagedLinesText(m_damagedLines);
        note.alignRight = true;
        items.push_back(std::move(note));
    }
    items.push_back({ LogPageItem::Kind::Rule,
                      LogPageItem::Font::Body,
                      l.left,
                      l.bottom + 1,
                      l.right,
                      l.bottom + 1,
                      {},
                      false });
}

int LogPrintout::AddSummaries(std::vector<LogPageItem> &items, int y) const
{
    const LogPageLayout &l = m_layout;
    const int step = l.entryStep;
    const auto title = [&](const char *text) {
        AddText(items, y, text, LogPageItem::Font::Title);
        y += l.titleHeight + l.lineHeight;
    };
    const auto line = [&](const std::string &text, int advance) {
        AddText(items, y, text);
        y += advance;
    };

    if (m_options & logoption::kTodaySummary) {
        title("Today's Summary");
        line(TodayStatisticsLine(m_log, m_runStart), 3 * l.lineHeight);
    }
    if (m_options & logoption::kSevenDaySummary) {
        const SevenDayStatistics week = SevenDayStatisticsLines(m_log, m_runStart);
        title("Seven Day Summary");
        for (int i = 0; i < 4; ++i)
            line(week.lines[std::size_t(i)], step);
        line(week.lines[4], 3 * l.lineHeight);
        line(kSevenDayHeading, step);
        line(kSevenDayRule, step);
        for (const std::string &row : week.rows)
            line(row, step);
        y += step;
    }
    if (m_options & logoption::kCompleteSummary) {
        const auto all = CompleteStatisticsLines(m_log, m_runStart);
        title("Complete Summary");
        for (int i = 0; i < 3; ++i)
            line(all[std::size_t(i)], step);
        line(all[3], 3 * l.lineHeight);
    }
    return y;
}

void LogPrintout::AddRuns(std::vector<LogPageItem> &items, int page, int y) const
{
    const std::int64_t first = m_layout.runsBefore(page);
    const std::int64_t last = std::min<std::int64_t>(first + m_layout.runsOn(page), m_listed);
    // The listed runs are the front of the log (CountRunsSince stops at the first older one).
    for (std::int64_t i = first; i < last; ++i) {
        AddText(items, y, RunLine(m_log[std::size_t(i)]));
        y += m_layout.entryStep;
    }
}

void LogPrintout::AddText(std::vector<LogPageItem> &items, int y, std::string text,
                          LogPageItem::Font font) const
{
    LogPageItem item;
    item.font = font;
    item.x = m_layout.left;
    item.y = y;
    item.text = std::move(text);
    items.push_back(std::move(item));
}

} // namespace corvane
