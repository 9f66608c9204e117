#pragma once

#include "LogPageLayout.h"
#include "LogRecord.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// One thing to draw on a page of the printed log, in device units: a text whose top-left corner
// (top-right when right-aligned) is at (x, y), a straight rule from (x, y) to (x2, y2), or a chart
// that fills the rectangle from (x, y) to (x2, y2).
struct LogPageItem
{
    enum class Kind { Text, Rule, Chart };
    enum class ChartKind { None, SevenDays, ThirtyDays, Drift };
    enum class Font { Body, Title };

    Kind kind = Kind::Text;
    Font font = Font::Body;
    int x = 0;
    int y = 0;
    int x2 = 0;
    int y2 = 0;
    std::string text;
    bool alignRight = false;
    ChartKind chart = ChartKind::None;

    friend bool operator==(const LogPageItem &, const LogPageItem &) = default;
};

// The printed practice log, page by page, without any drawing: every page has the header
// ("Corvane Log" and the date of printing) and the footer ("Page n of m"); page 1 carries the
// chosen summaries and the title of the listing; the listed runs follow, newest first, as many
// per page as the layout allows.
//
// Built at the start of a print job from a snapshot of the log (newest first, the current run at
// the front), the run clock's start (which decides "today" for the summaries) and the present
// time (which decides the listing's cut-off and the date in the header). When loading skipped
// damaged lines, page 1's footer says how many ("2 damaged lines were skipped"), so that the
// summaries are not taken for the whole story. With the charts chosen (logoption::kCharts), a
// last page holds their titles and places. Pure; allocates.
class LogPrintout
{
public:
    LogPrintout(PracticeLog log, std::int64_t runStart, std::int64_t now, std::uint32_t options,
                const LogDeviceMetrics &device, std::size_t damagedLines = 0);

    int pageCount() const noexcept { return m_pages; }
    const LogPageLayout &layout() const noexcept { return m_layout; }
    // The runs the listing shows (0 when there is no listing).
    std::int64_t listedRuns() const noexcept { return m_listed; }

    // The items of page `page`, 1..pageCount(); an empty list for any other number.
    std::vector<LogPageItem> page(int page) const;

private:
    void AddHeaderAndFooter(std::vector<LogPageItem> &items, int page) const;
    int AddSummaries(std::vector<LogPageItem> &items, int y) const;
    void AddRuns(std::vector<LogPageItem> &items, int page, int y) const;
    void AddCharts(std::vector<LogPageItem> &items) const;
    bool IsChartPage(int page) const noexcept;
    void AddText(std::vector<LogPageItem> &items, int y, std::string text,
                 LogPageItem::Font font = LogPageItem::Font::Body) const;

    PracticeLog m_log;
    std::int64_t m_runStart;
    std::int64_t m_now;
    std::uint32_t m_options;
    std::size_t m_damagedLines;
    std::int64_t m_cutoff = 0;
    std::int64_t m_listed = 0;
    LogPageLayout m_layout;
    int m_pages = 1;
};

} // namespace corvane
