#pragma once

#include <cstdint>

namespace corvane {

// What the printer (or the preview, or a PDF) tells the printout about itself, in its own
// device units: resolution, the printable area, and the heights of the two fonts (character
// height plus external leading).
struct LogDeviceMetrics
{
    int dpiX = 0;
    int dpiY = 0;
    int width = 0;  // printable width
    int height = 0; // printable height
    int lineHeight = 0;
    int titleHeight = 0;
};

// Where everything goes on a page of the printed log, worked out once per print job from the
// device and the chosen summaries. One-inch margins on every side; the header sits two lines
// above the top margin, the footer just under the bottom one.
//
// Pages always make progress: a later page holds at least one run, whatever the device, and
// page 1 holds none (rather than a negative number) when the summaries fill it. Plain value;
// allocates nothing.
struct LogPageLayout
{
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    int headerLine = 0;
    int bodyStart = 0;
    int lineHeight = 0;
    int titleHeight = 0;
    int entryStep = 1; // 1.5 lines between runs
    int todaySummaryHeight = 0;
    int sevenDaySummaryHeight = 0;
    int completeSummaryHeight = 0;
    int runsOnFirstPage = 0;  // 0 or more
    int runsPerLaterPage = 1; // 1 or more

    static LogPageLayout compute(const LogDeviceMetrics &device, std::uint32_t options) noexcept;

    // Pages needed for `runs` listed runs: 1 when they all fit on page 1 (or there are none).
    int pageCount(std::int64_t runs) const noexcept;
    // How many runs precede page `page` (1-based) and how many it holds at most.
    std::int64_t runsBefore(int page) const noexcept;
    int runsOn(int page) const noexcept { return page <= 1 ? runsOnFirstPage : runsPerLaterPage; }
};

} // namespace corvane
