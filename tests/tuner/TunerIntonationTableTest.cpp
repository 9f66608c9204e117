#include "CTuner.h"
#include "IntonationStatistics.h"
#include "IntonationTable.h"
#include "PinwheelWidget.h"
#include "TunerDialogs.h"
#include "TunerWindowRig.h"
#include "cPinwheelIndicator.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <utility>

using namespace corvane;
using namespace corvane::tuner;
using namespace corvane::tuner::test;

namespace {

// The classic display's update: a fifth of a second.
constexpr std::chrono::microseconds kFifth = WheelState::kTurnPeriod;

// The A of the lowest octave, where the window folds what it hears, `cents` sharp.
double FoldedA(double cents)
{
    return 27.5 * std::pow(2.0, cents / 1200.0);
}

} // namespace

// The window is never started: the test plays the display updates' part on the indicator itself.
TEST(TunerIntonationTable, TheExpandedPanelShowsTheFiguresAndResetForgetsThem)
{
    TunerWindowRig rig;
    NoDialogs dialogs;
    IntonationStatistics run(4.0);
    CTuner::Context context = rig.context();
    context.runIntonation = &run;
    auto owned = std::make_unique<CTuner>(context, false, dialogs);
    CTuner &window = *owned;
    window.show();
    IntonationTable &panel = window.intonationTable();
    EXPECT_FALSE(panel.isVisible()) << "collapsed, the panel has no room for it";

    for (int i = 0; i < 6; ++i)
        window.indicator().Update(window, FoldedA(8.0), 1.0, kFifth, true);
    QTest::mouseClick(window.button(TunerControl::More), Qt::LeftButton);
    ASSERT_TRUE(panel.isVisible());
    const int a = 9; // degree of A in C major, the row the table gives it
    EXPECT_EQ(panel.table()->item(a, 0)->text(), QStringLiteral("A"));
    EXPECT_EQ(panel.table()->item(a, 1)->text(), QStringLiteral("5")) << "the attack is left out";
    EXPECT_EQ(panel.table()->item(a, 2)->text(), QStringLiteral("+8.0"));
    EXPECT_EQ(panel.table()->item(a, 4)->text(), QStringLiteral("0%"));
    EXPECT_TRUE(panel.table()->item(a, 0)->toolTip().contains(QStringLiteral("8.0 cents sharp")));
    const QRect table = panel.geometry();
    for (QPushButton *b : window.findChildren<QPushButton *>())
        if (b->isVisible() && b->parent() == &window) {
            EXPECT_FALSE(table.intersects(b->geometry())) << b->text().toStdString();
        }

    QTest::mouseClick(panel.resetButton(), Qt::LeftButton);
    EXPECT_EQ(window.indicator().board().intonation(a).count, 0);
    EXPECT_EQ(panel.table()->item(a, 1)->text(), QStringLiteral("0"));
    EXPECT_TRUE(panel.table()->item(a, 2)->text().isEmpty());
    EXPECT_TRUE(window.indicator().wheel(a)->toolTip().contains(QStringLiteral("not heard")))
            << "the wheels forget with the table";

    // What the window heard, Reset or not, goes to the run's figures when it closes.
    window.indicator().Update(window, FoldedA(-2.0), 1.0, kFifth, true);
    window.indicator().Update(window, FoldedA(-2.0), 1.0, kFifth, true);
    owned.reset();
    EXPECT_EQ(run.degree(9).count, 5 + 2) << "A, counted from C";
    EXPECT_NEAR(run.degree(9).meanCents, (5 * 8.0 - 2 * 2.0) / 7, 0.01);
}

TEST(TunerIntonationTable, PictureOfTheWheelsWithTheirBarsAndTheTable)
{
    TunerWindowRig rig;
    NoDialogs dialogs;
    CTuner window(rig.context(), false, dialogs);
    window.show();
    // A scale played with a sharp F#, a flat Bb and the rest near the mark; each note's first
    // update is its attack. Semitones above A: C 3, D 5, E 7, F# 9, G 10, A 0, Bb 1, B 2.
    const std::pair<int, double> played[] = { { 3, 1.0 },  { 5, -2.0 }, { 7, 3.0 },
                                              { 9, 8.0 },  { 10, 0.5 }, { 0, -1.0 },
                                              { 1, -9.0 }, { 2, 2.5 },  { 9, 7.0 } };
    for (const auto &[semitone, cents] : played) {
        for (int i = 0; i < 12; ++i)
            window.indicator().Update(
                    window, 27.5 * std::pow(2.0, (semitone * 100 + cents + (i % 3 - 1)) / 1200.0),
                    1.0, kFifth, true);
    }
    QTest::mouseClick(window.button(TunerControl::More), Qt::LeftButton);
    const auto &rows = window.intonationTable();
    EXPECT_EQ(rows.table()->item(6, 0)->text(), QStringLiteral("F#"));
    EXPECT_TRUE(rows.table()->item(10, 0)->font().bold()) << "the Bb is the furthest off";
    EXPECT_FALSE(rows.table()->item(6, 0)->font().bold());
    if (const char *docs = std::getenv("CORVANE_DOCS_DIR"))
        window.grab().save(QString::fromLocal8Bit(docs) + QStringLiteral("/tuner-intonation.png"));
}
