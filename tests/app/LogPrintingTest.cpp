#include "CMainFrame.h"
#include "CSplashWnd.h"
#include "CTCDefs.h"
#include "DlgLogOpts.h"
#include "LogOptions.h"
#include "LogPrintJob.h"
#include "PracticeClocks.h"
#include "PracticeLogFile.h"
#include "ProgramState.h"
#include "PdfReading.h"
#include "ScriptedMessageService.h"
#include "TempDir.h"

#include <QCheckBox>
#include <QPrinter>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <string>

using namespace corvane;

namespace {

void UsePdf(QPrinter &printer, const std::filesystem::path &pdf)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setResolution(300);
}

} // namespace

TEST(LogPrinting, APrintedLogHasItsPagesHeadersSummariesAndRuns)
{
    const test::TempWorkingDir dir;
    const std::int64_t now = 1'715'900'000; // a Thursday in May 2024
    PracticeLog log;
    for (int i = 0; i < 80; ++i) // 80 runs of ten minutes, an hour apart, newest first
        log.push_back({ now - 3600 * i - 600, now - 3600 * i, 240 });
    log[1].active = 600; // a line as wide as any: "Ratio 100%"
    const std::uint32_t options =
            logoption::kTodaySummary | logoption::kSevenDaySummary | logoption::kSevenDayLog;

    const auto pdf = dir.path() / "log.pdf";
    QPrinter printer(QPrinter::HighResolution);
    UsePdf(printer, pdf);
    const LogPrintJob job(printer, log, now - 600, now, options);
    ASSERT_GE(job.pageCount(), 2);
    ASSERT_TRUE(job.print(printer));

    ASSERT_EQ(test::pdfPages(pdf), job.pageCount());
    const std::string first = test::pdfText(pdf, 1, true);
    for (const char *text :
         { "Corvane Log", "Today's Summary", "Tuner Active:", "Seven Day Summary",
           "Number of Days Recorded:", "Seven Day Log", "Ratio 40%" })
        EXPECT_NE(first.find(text), std::string::npos) << text;
    EXPECT_NE(first.find("Page 1 of " + std::to_string(job.pageCount())), std::string::npos);
    const std::string last = test::pdfText(pdf, job.pageCount(), true);
    EXPECT_NE(last.find("Corvane Log"), std::string::npos);
    EXPECT_EQ(last.find("Today's Summary"), std::string::npos);
    EXPECT_NE(last.find("Active: 00:04:00"), std::string::npos);
    EXPECT_NE(last.find("Elapsed: 00:10:00"), std::string::npos);
    // Every word within the one-inch margins of the letter page (612 points wide), the widest
    // line ("Ratio 100%") too...
    EXPECT_NE(test::pdfText(pdf, 1, true).find("Ratio 100%"), std::string::npos);
    EXPECT_GT(test::pdfRightmostWord(pdf, 1), 400.0);
    EXPECT_LE(test::pdfRightmostWord(pdf, 1), 612.0 - 72.0 + 0.5);
    // ... and of an A4 page (595 points), where 10-point lines of runs would not fit.
    const auto a4 = dir.path() / "log-a4.pdf";
    UsePdf(printer, a4);
    printer.setPageSize(QPageSize(QPageSize::A4));
    ASSERT_TRUE(LogPrintJob(printer, log, now - 600, now, options).print(printer));
    EXPECT_GT(test::pdfRightmostWord(a4, 2), 400.0);
    EXPECT_LE(test::pdfRightmostWord(a4, 2), 595.3 - 72.0 + 0.5);

    // A picture of page 1 for the documentation.
    if (const char *docs = std::getenv("CORVANE_DOCS_DIR"))
        (void)test::commandOutput("pdftoppm -f 1 -l 1 -r 60 -png -singlefile '" + pdf.string()
                                  + "' '" + docs + "/printed-log'");
}

TEST(LogPrinting, TheWindowPrintsTheLogFileBehindTheCurrentRun)
{
    const test::TempWorkingDir dir;
    std::ofstream("corvlog.txt") << "1000 1600 240\n";
    ProgramState program;
    program.settings.SetLogOptions(logoption::kCompleteLog);
    const PracticeClocks clocks;
    CSplashWnd::EnableSplashScreen(false);
    CMainFrame frame({ program, clocks });

    const auto pdf = dir.path() / "window.pdf";
    QPrinter printer(QPrinter::HighResolution);
    UsePdf(printer, pdf);
    ASSERT_TRUE(frame.printLog(printer));
    const std::string text = test::pdfText(pdf, 1, true);
    EXPECT_NE(text.find("Complete Log"), std::string::npos);
    EXPECT_NE(text.find("Page 1 of 1"), std::string::npos);
    // The run in the file is from 1970, before the complete log's cut-off; the current run shows.
    EXPECT_EQ(text.find("1970"), std::string::npos);
    EXPECT_NE(text.find("Active: 00:00:00"), std::string::npos);
}

TEST(LogOptionsDialog, OpensOnOneListingAndStoresOnlyOnOk)
{
    CTCDefs settings;
    settings.SetLogOptions(logoption::kCompleteSummary | logoption::kListingBits);
    {
        DlgLogOpts dialog(settings);
        EXPECT_TRUE(dialog.completeSummary()->isChecked());
        EXPECT_FALSE(dialog.todaySummary()->isChecked());
        EXPECT_TRUE(dialog.listing(0)->isChecked()); // today's wins
        EXPECT_EQ(dialog.options(), logoption::kCompleteSummary | logoption::kTodayLog);

        dialog.listing(2)->click();
        dialog.sevenDaySummary()->click();
        dialog.completeSummary()->click();
        EXPECT_TRUE(dialog.listing(2)->isChecked());
        EXPECT_FALSE(dialog.listing(0)->isChecked());
        dialog.reject();
        EXPECT_EQ(settings.GetLogOptions(), logoption::kCompleteSummary | logoption::kListingBits);
    }
    DlgLogOpts dialog(settings);
    dialog.listing(3)->click();
    dialog.todaySummary()->click();
    EXPECT_FALSE(dialog.charts()->isChecked());
    dialog.charts()->click();
    dialog.accept();
    EXPECT_EQ(settings.GetLogOptions(),
              logoption::kCompleteSummary | logoption::kTodaySummary | logoption::kCharts);
}

TEST(LogOptionsDialog, ClearLogAsksFirstAndLeavesTheOptionsAlone)
{
    const test::TempWorkingDir dir;
    std::ofstream("corvlog.txt") << "1000 1600 240\n";
    widgets::ScriptedMessageService boxes;
    const widgets::MessageServiceOverride use(boxes);
    CTCDefs settings;
    DlgLogOpts dialog(settings);
    dialog.show();

    boxes.answers = { widgets::MessageService::Answer::Cancel };
    dialog.clearButton()->click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Warning"));
    EXPECT_EQ(boxes.shown[0].text,
              QStringLiteral("Are you sure you want to clear your entire practice log?"));
    EXPECT_EQ(boxes.shown[0].icon, widgets::MessageService::Icon::Exclamation);
    EXPECT_TRUE(std::filesystem::exists("corvlog.txt"));

    dialog.clearButton()->click(); // OK
    EXPECT_FALSE(std::filesystem::exists("corvlog.txt"));
    dialog.clearButton()->click(); // nothing left to delete: no complaint
    EXPECT_EQ(boxes.shown.size(), 3u);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.options(), 38u);
}
