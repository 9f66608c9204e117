#include "LogPageLayout.h"

#include "LogOptions.h"

#include <algorithm>
#include <limits>

namespace corvane {

LogPageLayout LogPageLayout::compute(const LogDeviceMetrics &device, std::uint32_t options) noexcept
{
    LogPageLayout l;
    l.lineHeight = std::max(device.lineHeight, 1);
    l.titleHeight = std::max(device.titleHeight, 1);
    l.left = device.dpiX;
    l.right = device.width - device.dpiX;
    l.top = device.dpiY;
    l.bottom = device.height - device.dpiY;
    l.headerLine = l.top - 2 * l.lineHeight;
    l.bodyStart = l.top + 30;
    l.entryStep = std::max(3 * l.lineHeight / 2, 1);
    l.todaySummaryHeight = l.titleHeight + 4 * l.lineHeight;
    l.sevenDaySummaryHeight = l.titleHeight + 24 * l.lineHeight;
    l.completeSummaryHeight = l.titleHeight + 17 * l.lineHeight / 2;

    const int body = l.bottom - l.top - 30;
    int summaries = 0;
    if (options & logoption::kTodaySummary)
        summaries += l.todaySummaryHeight;
    if (options & logoption::kSevenDaySummary)
        summaries += l.sevenDaySummaryHeight;
    if (options & logoption::kCompleteSummary)
        summaries += l.completeSummaryHeight;
    // A page too small for one run still takes one, and a first page filled by the summaries
    // takes none: either way every page moves the listing on and the count stays finite.
    l.runsPerLaterPage = std::max(body / l.entryStep, 1);
    l.runsOnFirstPage =
            std::max((body - summaries - l.lineHeight - l.titleHeight) / l.entryStep - 1, 0);
    return l;
}

int LogPageLayout::pageCount(std::int64_t runs) const noexcept
{
    if (runs <= runsOnFirstPage)
        return 1;
    const std::int64_t rest = runs - runsOnFirstPage;
    const std::int64_t later = (rest + runsPerLaterPage - 1) / runsPerLaterPage;
    return int(std::min<std::int64_t>(1 + later, std::numeric_limits<int>::max()));
}

std::int64_t LogPageLayout::runsBefore(int page) const noexcept
{
    if (page <= 1)
        return 0;
    return runsOnFirstPage + std::int64_t(page - 2) * runsPerLaterPage;
}

} // namespace corvane
