#include "FixedTimeZone.h"
#include "LogOptions.h"
#include "LogPrintout.h"
#include "PracticeLogStatistics.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace corvane;

namespace {

// A letter page at 300 dpi with a 10-point body (about 42 dots a line) and a 14-point title.
constexpr LogDeviceMetrics kLetter300 { 300, 300, 2550, 3300, 42, 58 };

std::vector<std::string> TextsOf(const std::vector<LogPageItem> &items)
{
    std::vector<std::string> texts;
    for (const LogPageItem &item : items)
        if (item.kind == LogPageItem::Kind::Text)
            texts.push_back(item.text);
    return texts;
}

// Every run line over all pages, in page order.
std::vector<std::string> RunLinesOf(const LogPrintout &printout)
{
    std::vector<std::string> lines;
    for (int p = 1; p <= printout.pageCount(); ++p)
        for (const std::string &text : TextsOf(printout.page(p)))
            if (text.find("    Active: ") != std::string::npos)
                lines.push_back(text);
    return lines;
}

} // namespace

class LogPrintoutTest : public test::FixedTimeZone
{
protected:
    // `count` runs of ten minutes, one an hour back from the present, newest first.
    PracticeLog Runs(int count) const
    {
        PracticeLog log;
        for (int i = 0; i < count; ++i)
            log.push_back({ now - 3600 * i, now - 3600 * i + 600, 300 });
        return log;
    }

    void SetUp() override
    {
        test::FixedTimeZone::SetUp();
        now = local(2024, 5, 16, 23, 30);
    }

    std::int64_t now = 0;
};

TEST_F(LogPrintoutTest, LayoutFiguresFollowTheDeviceAndTheChosenSummaries)
{
    const LogPageLayout plain = LogPageLayout::compute(kLetter300, 0);
    EXPECT_EQ(plain.left, 300);
    EXPECT_EQ(plain.right, 2250);
    EXPECT_EQ(plain.top, 300);
    EXPECT_EQ(plain.bottom, 3000);
    EXPECT_EQ(plain.headerLine, 300 - 84);
    EXPECT_EQ(plain.entryStep, 63);
    EXPECT_EQ(plain.runsPerLaterPage, (2700 - 30) / 63);
    EXPECT_EQ(plain.runsOnFirstPage, (2670 - 42 - 58) / 63 - 1);

    const LogPageLayout both = LogPageLayout::compute(
            kLetter300, logoption::kTodaySummary | logoption::kSevenDaySummary);
    const int summaries = (58 + 4 * 42) + (58 + 24 * 42);
    EXPECT_EQ(both.runsOnFirstPage, (2670 - summaries - 42 - 58) / 63 - 1);
    EXPECT_EQ(both.runsPerLaterPage, plain.runsPerLaterPage);
}

TEST_F(LogPrintoutTest, NoOptionsGiveOnePageWithHeaderAndFooterOnly)
{
    const LogPrintout printout(Runs(5), now - 600, now, 0, kLetter300);
    ASSERT_EQ(printout.pageCount(), 1);
    const auto items = printout.page(1);
    const auto texts = TextsOf(items);
    EXPECT_EQ(texts,
              (std::vector<std::string> { "Corvane Log", "Thu May 16 23:30:00 2024",
                                          "Page 1 of 1" }));
    EXPECT_EQ(std::count_if(items.begin(), items.end(),
                            [](const LogPageItem &i) { return i.kind == LogPageItem::Kind::Rule; }),
              2);
    EXPECT_TRUE(items[1].alignRight);
    EXPECT_EQ(items[1].x, printout.layout().right);
    EXPECT_TRUE(printout.page(0).empty());
    EXPECT_TRUE(printout.page(2).empty());
}

TEST_F(LogPrintoutTest, SkippedDamagedLinesAreSaidBesideTheFirstFooterOnly)
{
    const LogPrintout printout(Runs(200), now - 600, now, logoption::kCompleteLog, kLetter300, 2);
    ASSERT_GT(printout.pageCount(), 1);
    const auto first = printout.page(1);
    const auto note = std::find_if(first.begin(), first.end(), [](const LogPageItem &i) {
        return i.text == "2 damaged lines were skipped";
    });
    ASSERT_NE(note, first.end());
    EXPECT_TRUE(note->alignRight);
    EXPECT_EQ(note->y, printout.layout().bottom + 15) << "on the footer's line, moving no run";
    for (const std::string &text : TextsOf(printout.page(2)))
        EXPECT_EQ(text.find("damaged"), std::string::npos);
}

TEST_F(LogPrintoutTest, FullPagesEndExactlyAndEveryRunIsListedOnceInOrder)
{
    const std::uint32_t options = logoption::kCompleteLog;
    const LogPageLayout l = LogPageLayout::compute(kLetter300, options);
    const int exact = l.runsOnFirstPage + 2 * l.runsPerLaterPage;

    const LogPrintout full(Runs(exact), now - 600, now, options, kLetter300);
    EXPECT_EQ(full.pageCount(), 3);
    const auto last = TextsOf(full.page(3));
    EXPECT_EQ(last.size(), std::size_t(3 + l.runsPerLaterPage));
    EXPECT_NE(std::find(last.begin(), last.end(), "Page 3 of 3"), last.end());

    const PracticeLog log = Runs(exact + 1);
    const LogPrintout spill(log, now - 600, now, options, kLetter300);
    ASSERT_EQ(spill.pageCount(), 4);
    const auto lines = RunLinesOf(spill);
    ASSERT_EQ(lines.size(), log.size());
    for (std::size_t i = 0; i < log.size(); ++i)
        EXPECT_EQ(lines[i], RunLine(log[i])) << "run " << i;
}

TEST_F(LogPrintoutTest, PageOneCarriesTheSummariesInOrderThenTheListingTitle)
{
    const std::uint32_t options = logoption::kTodaySummary | logoption::kSevenDaySummary
            | logoption::kCompleteSummary | logoption::kSevenDayLog;
    const LogPrintout printout(Runs(2), now - 600, now, options, kLetter300);
    const auto texts = TextsOf(printout.page(1));
    const auto at = [&](const std::string &text) {
        return std::find(texts.begin(), texts.end(), text) - texts.begin();
    };
    EXPECT_LT(at("Today's Summary"), at("Seven Day Summary"));
    EXPECT_LT(at("Seven Day Summary"), at(kSevenDayRule));
    EXPECT_LT(at(kSevenDayRule), at("Complete Summary"));
    EXPECT_LT(at("Complete Summary"), at("Seven Day Log"));
    EXPECT_LT(at("Seven Day Log"), std::ptrdiff_t(texts.size()));
    EXPECT_EQ(RunLinesOf(printout).size(), 2u);

    // Titles are in the title font, everything else in the body font; all left-aligned at the
    // margin but the date.
    for (const LogPageItem &item : printout.page(1)) {
        if (item.kind != LogPageItem::Kind::Text || item.alignRight)
            continue;
        EXPECT_EQ(item.x, printout.layout().left);
        const bool title =
                item.text.find("Summary") != std::string::npos || item.text == "Seven Day Log";
        EXPECT_EQ(item.font == LogPageItem::Font::Title, title) << item.text;
    }
}

TEST_F(LogPrintoutTest, AListingStopsAtItsCutOffAndTodayWinsOverOtherListings)
{
    PracticeLog log = Runs(3); // today, 23:30 back to 21:30
    log.push_back({ local(2024, 5, 15, 20), local(2024, 5, 15, 21), 100 }); // yesterday
    const std::uint32_t both = logoption::kTodayLog | logoption::kCompleteLog;
    const LogPrintout today(log, now - 600, now, both, kLetter300);
    EXPECT_EQ(today.listedRuns(), 3);
    EXPECT_EQ(TextsOf(today.page(1))[3], "Today's Log");

    const LogPrintout week(log, now - 600, now, logoption::kSevenDayLog, kLetter300);
    EXPECT_EQ(week.listedRuns(), 4);
}

TEST_F(LogPrintoutTest, SummariesThatFillPageOneStillLeaveAFiniteRunOfPages)
{
    // A small device: the summaries alone overflow page 1, a later page has room for four runs.
    const LogDeviceMetrics tiny { 10, 10, 200, 120, 10, 12 };
    const std::uint32_t options = logoption::kTodaySummary | logoption::kSevenDaySummary
            | logoption::kCompleteSummary | logoption::kCompleteLog;
    const LogPageLayout l = LogPageLayout::compute(tiny, options);
    EXPECT_EQ(l.runsOnFirstPage, 0);
    EXPECT_GE(l.runsPerLaterPage, 1);
    EXPECT_GE(l.entryStep, 1);

    const PracticeLog log = Runs(5);
    const LogPrintout printout(log, now - 600, now, options, tiny);
    EXPECT_EQ(printout.pageCount(), 1 + (5 + l.runsPerLaterPage - 1) / l.runsPerLaterPage);
    EXPECT_EQ(RunLinesOf(printout).size(), log.size());
    for (int p = 2; p <= printout.pageCount(); ++p) {
        const auto texts = TextsOf(printout.page(p));
        EXPECT_GT(texts.size(), 3u) << "page " << p << " lists no run";
    }

    // A device that reports nothing at all, fonts without height included.
    const LogDeviceMetrics none { 0, 0, 0, 0, 0, 0 };
    const LogPrintout degenerate(log, now - 600, now, options, none);
    EXPECT_EQ(RunLinesOf(degenerate).size(), log.size());
}

TEST(LogOptions, ListingPrecedenceAndReplacement)
{
    using namespace logoption;
    EXPECT_EQ(ListingOf(38), LogListing::Today);
    EXPECT_EQ(ListingOf(kSevenDayLog | kCompleteLog), LogListing::SevenDay);
    EXPECT_EQ(ListingOf(kCompleteLog | kTodaySummary), LogListing::Complete);
    EXPECT_EQ(ListingOf(kTodaySummary | kSevenDaySummary | kCompleteSummary), LogListing::None);
    const std::uint32_t all = kTodaySummary | kListingBits;
    EXPECT_EQ(WithListing(all, LogListing::Complete), kTodaySummary | kCompleteLog);
    EXPECT_EQ(WithListing(all, LogListing::None), kTodaySummary);
    EXPECT_EQ(ToggledSummary(ToggledSummary(38, kSevenDaySummary), kSevenDaySummary), 38u);
}
