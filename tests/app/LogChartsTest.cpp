#include "LogChartPainter.h"
#include "LogOptions.h"
#include "LogPrintJob.h"
#include "PracticeCharts.h"
#include "TempDir.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

using namespace corvane;

namespace {

// Noon, local time, of a day in May 2024: a day's runs around it stay on that day in any zone.
std::int64_t LocalNoon()
{
    std::tm tm {};
    tm.tm_year = 124;
    tm.tm_mon = 4;
    tm.tm_mday = 16;
    tm.tm_hour = 12;
    tm.tm_isdst = -1;
    return std::int64_t(std::mktime(&tm));
}

// A vertical run of one color in a column of the picture, bottom up from `bottom`.
int RunUp(const QImage &image, int x, int bottom, QRgb color)
{
    int n = 0;
    while (bottom - n >= 0 && image.pixel(x, bottom - n) == color)
        ++n;
    return n;
}

struct Bar
{
    int left = 0;
    int right = 0;
    int center() const { return (left + right) / 2; }
};

// The columns of the picture that hold `color` from row `top` down, as bars left to right.
std::vector<Bar> BarsOf(const QImage &image, QRgb color, int top)
{
    std::vector<Bar> bars;
    bool inside = false;
    for (int x = 0; x < image.width(); ++x) {
        bool found = false;
        for (int y = top; y < image.height() && !found; ++y)
            found = image.pixel(x, y) == color;
        if (found && !inside)
            bars.push_back({ x, x });
        if (found)
            bars.back().right = x;
        inside = found;
    }
    return bars;
}

} // namespace

TEST(LogCharts, TheSevenDayChartDrawsEachDaysActiveInsideItsElapsedTimeToScale)
{
    const std::int64_t noon = LocalNoon();
    // Today two runs, 2 hours with 1 active; two days ago 1 hour with a quarter active.
    const PracticeLog log { { noon, noon + 3600, 1800 },
                            { noon - 7200, noon - 3600, 1800 },
                            { noon - 2 * 86'400, noon - 2 * 86'400 + 3600, 900 },
                            { noon - 9 * 86'400, noon - 9 * 86'400 + 600, 600 } };
    const TimeChart chart = DailyTimeChart(log, noon, 7);

    QImage image(700, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        // Plain black letters, whose edges never take the bars' shades.
        QFont font = QApplication::font();
        font.setStyleStrategy(QFont::NoAntialias);
        PaintTimeChart(painter, QRect(0, 20, 700, 280), chart, font);
    }
    const QRgb active = qRgb(40, 40, 40);
    const QRgb elapsed = qRgb(200, 200, 200);
    // Under the legend's line, only the bars have the two shades.
    const int underLegend = 20 + QFontMetrics(QApplication::font()).height() + 1;
    const std::vector<Bar> activeBars = BarsOf(image, active, underLegend);
    ASSERT_EQ(activeBars.size(), 2u) << "the two days with runs";
    const std::vector<Bar> elapsedBars = BarsOf(image, elapsed, underLegend);
    ASSERT_EQ(elapsedBars.size(), 2u) << "the run nine days ago is off the chart";

    // The baseline: the lowest row with the active shade under today's bar.
    const int x = activeBars[1].center();
    int bottom = image.height() - 1;
    while (bottom > 0 && image.pixel(x, bottom) != active)
        --bottom;
    const int todayActive = RunUp(image, x, bottom, active);
    const int todayElapsed = todayActive + RunUp(image, x, bottom - todayActive, elapsed);
    const int x2 = activeBars[0].center();
    const int earlierActive = RunUp(image, x2, bottom, active);
    const int earlierElapsed = earlierActive + RunUp(image, x2, bottom - earlierActive, elapsed);
    EXPECT_NEAR(double(todayActive) / todayElapsed, 0.5, 0.02);
    EXPECT_NEAR(double(earlierElapsed) / todayElapsed, 0.5, 0.02);
    EXPECT_NEAR(double(earlierActive) / todayElapsed, 0.125, 0.02);
    EXPECT_GT(todayElapsed, 150) << "the scale's top is near the tallest bar";
    // Today is the last of seven slots, two days ago the fifth.
    const double slot = (activeBars[1].center() - activeBars[0].center()) / 2.0;
    EXPECT_GT(activeBars[1].center() + slot, 640);
    EXPECT_LT(activeBars[1].center() + slot / 2, 700);
    // The active bar sits inside its elapsed bar, narrower, so the two part without hue.
    EXPECT_GT(activeBars[1].left, elapsedBars[1].left);
    EXPECT_LT(activeBars[1].right, elapsedBars[1].right);
}

TEST(LogCharts, ThePrintedLogEndsWithAChartPageWhenTheChartsAreChosen)
{
    const test::TempWorkingDir dir;
    const std::int64_t noon = LocalNoon();
    PracticeLog log;
    IntonationLog figures;
    for (int day = 0; day < 30; day += 2) {
        const std::int64_t start = noon - day * 86'400;
        log.push_back({ start, start + 1200 + 60 * day, 600 + 20 * day });
        // An F# that drifts from 12 cents sharp a month ago to 2 now, a steady flat Bb.
        IntonationLogRecord fSharp { start, 6, {} };
        fSharp.figures.count = 50;
        fSharp.figures.meanCents = 2.0 + day / 3.0;
        IntonationLogRecord bFlat { start, 10, {} };
        bFlat.figures.count = 40;
        bFlat.figures.meanCents = -5.0;
        figures.push_back(fSharp);
        figures.push_back(bFlat);
    }
    const auto pdf = dir.path() / "charts.pdf";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setResolution(150);
    const std::uint32_t options = logoption::kTodaySummary | logoption::kCharts;
    const LogPrintJob job(printer, log, noon, noon + 3600, options, 0, figures);
    ASSERT_EQ(job.pageCount(), 2);
    ASSERT_EQ(job.drift().series.size(), 2u);
    ASSERT_TRUE(job.print(printer));

    std::string text;
    const std::string command = "pdftotext -layout -f 2 -l 2 '" + pdf.string() + "' -";
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            text.append(buffer, n);
        pclose(pipe);
    }
    for (const char *expected : { "Last Seven Days", "Last Thirty Days", "Mean Deviation",
                                  "Page 2 of 2", "F#", "Bb", "Active", "Elapsed" })
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;

    if (const char *docs = std::getenv("CORVANE_DOCS_DIR"))
        std::system(("pdftoppm -f 2 -l 2 -r 80 -png -singlefile '" + pdf.string() + "' '" + docs
                     + "/printed-log-charts'")
                            .c_str());
}
