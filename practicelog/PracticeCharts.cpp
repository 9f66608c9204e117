#include "PracticeCharts.h"

#include "LocalCalendar.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace corvane {

namespace {

    // Index of the day of `t` in the span of `days` days ending on the day of `runStart`, oldest
    // first; nothing outside the span.
    std::optional<int> DayIndex(const std::vector<LocalCalendar::Day> &span, std::int64_t t)
    {
        const auto day = LocalCalendar::dayOf(t);
        if (!day)
            return std::nullopt;
        const auto found = std::find(span.begin(), span.end(), *day);
        if (found == span.end())
            return std::nullopt;
        return int(found - span.begin());
    }

    // The days of the span, oldest first, and their labels.
    std::vector<LocalCalendar::Day> Span(std::int64_t runStart, int days,
                                         std::vector<std::string> &labels)
    {
        static constexpr const char *kWeekDays[] = {
            "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"
        };
        std::vector<LocalCalendar::Day> span;
        for (int k = days - 1; k >= 0; --k) {
            const auto day = LocalCalendar::dayBefore(runStart, k);
            span.push_back(day.value_or(LocalCalendar::Day { -1, -1, 0 }));
            std::string label;
            if (days <= 7 && day) {
                label = kWeekDays[day->weekDay % 7];
            } else if (const auto tm = LocalCalendar::localTime(
                               LocalCalendar::midnight(runStart, -k, std::nullopt))) {
                label = std::to_string(tm->tm_mday);
            }
            labels.push_back(std::move(label));
        }
        return span;
    }

    std::int64_t TimeStep(std::int64_t longest)
    {
        // Round steps a reader takes in at once; at most five of them up the scale.
        static constexpr std::int64_t kSteps[] = { 300,  600,   900,   1800,  3600,
                                                   7200, 10800, 14400, 21600, 43200 };
        for (std::int64_t step : kSteps)
            if (longest <= 5 * step)
                return step;
        return 86'400;
    }

} // namespace

TimeChart DailyTimeChart(const PracticeLog &log, std::int64_t runStart, int days)
{
    TimeChart chart;
    days = std::max(days, 1);
    std::vector<std::string> labels;
    const std::vector<LocalCalendar::Day> span = Span(runStart, days, labels);
    chart.bars.resize(std::size_t(days));
    for (int i = 0; i < days; ++i)
        chart.bars[std::size_t(i)].label = labels[std::size_t(i)];
    for (const LogRecord &run : log) {
        if (const auto i = DayIndex(span, run.start)) {
            DayBar &bar = chart.bars[std::size_t(*i)];
            bar.activeSeconds =
                    saturatingAdd(bar.activeSeconds, std::max<std::int64_t>(0, run.active));
            bar.elapsedSeconds =
                    saturatingAdd(bar.elapsedSeconds, std::max<std::int64_t>(0, run.elapsed()));
        }
    }
    std::int64_t longest = 0;
    for (const DayBar &bar : chart.bars)
        longest = std::max({ longest, bar.elapsedSeconds, bar.activeSeconds });
    chart.stepSeconds = TimeStep(longest);
    chart.topSeconds = std::max<std::int64_t>(chart.stepSeconds,
                                              (longest + chart.stepSeconds - 1) / chart.stepSeconds
                                                      * chart.stepSeconds);
    return chart;
}

DriftChart DeviationDriftChart(const IntonationLog &figures, std::int64_t runStart, int days,
                               const IntonationStatistics *current)
{
    DriftChart chart;
    chart.days = std::max(days, 1);
    const std::vector<LocalCalendar::Day> span = Span(runStart, chart.days, chart.dayLabels);
    // Per day and note, every run's figures merged.
    std::vector<std::array<IntonationFigures, 12>> perDay(std::size_t(chart.days));
    for (const IntonationLogRecord &record : figures) {
        if (const auto i = DayIndex(span, record.runStart))
            perDay[std::size_t(*i)][std::size_t(record.pitchClass % 12)].merge(record.figures);
    }
    if (current) {
        for (int pc = 0; pc < 12; ++pc)
            perDay.back()[std::size_t(pc)].merge(current->degree(pc));
    }
    double furthest = 0.0;
    for (int pc = 0; pc < 12; ++pc) {
        DriftSeries series { pc, std::string(PitchClassName(pc)), {} };
        for (int d = 0; d < chart.days; ++d) {
            const IntonationFigures &f = perDay[std::size_t(d)][std::size_t(pc)];
            if (f.count == 0)
                continue;
            series.points.push_back({ d, f.meanCents, f.count });
            furthest = std::max(furthest, std::abs(f.meanCents));
        }
        if (!series.points.empty())
            chart.series.push_back(std::move(series));
    }
    chart.topCents = std::max(10.0, std::ceil(furthest / 5.0) * 5.0);
    return chart;
}

} // namespace corvane
