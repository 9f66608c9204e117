#include "CPitch.h"
#include "IntonationTableModel.h"
#include "KeyContext.h"
#include "PinwheelBoard.h"
#include "TunerWindowLayout.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace corvane;
using namespace corvane::tuner;

namespace {

double Note(int semitonesAboveA0, double centsSharp)
{
    return 27.5 * std::pow(2.0, semitonesAboveA0 / 12.0 + centsSharp / 1200.0);
}

struct Board
{
    Board() { board.Relabel(keys); }
    // `times` readings of one note after its attack, which does not count.
    void Hold(int semitonesAboveA0, double centsSharp, int times)
    {
        board.Update(Note(semitonesAboveA0, 30.0), pitch, keys, adjust, limits,
                     WheelState::kTurnPeriod);
        for (int i = 0; i < times; ++i)
            board.Update(Note(semitonesAboveA0, centsSharp), pitch, keys, adjust, limits,
                         WheelState::kTurnPeriod);
    }

    CPitch pitch;
    KeyContext keys;
    DegreeFloats adjust {};
    PinwheelThresholds limits = CTCDefs().GetPinwheelThresholds();
    PinwheelBoard board;
};

} // namespace

TEST(IntonationTableModel, RowsShowEachDegreeAsWrittenWithItsFiguresAndNothingForTheUnheard)
{
    Board b;
    ASSERT_TRUE(b.keys.SetKey(8)); // G major: degree 0 is G, degree 6 is C#, degree 2 is A
    b.board.Relabel(b.keys);
    b.Hold(0, 8.0, 12);  // A, 8 cents sharp: out of the 4-cent zone
    b.Hold(10, -2.0, 4); // G, 2 cents flat: in tune
    b.Hold(4, -0.01, 3); // C#, a hair flat: shown as 0.0, not -0.0
    b.board.Update(0.0, b.pitch, b.keys, b.adjust, b.limits, WheelState::kTurnPeriod);

    const auto rows = IntonationTableRows(b.board);
    EXPECT_EQ(rows[0].degree, "G");
    EXPECT_EQ(rows[6].degree, "C#");
    EXPECT_EQ(rows[2].degree, "A");
    EXPECT_EQ(rows[2].count, "12");
    EXPECT_EQ(rows[2].mean, "+8.0") << "sharp is positive";
    EXPECT_EQ(rows[2].spread, "0.0");
    EXPECT_EQ(rows[2].inTune, "0%");
    EXPECT_EQ(rows[0].mean, "-2.0");
    EXPECT_EQ(rows[0].inTune, "100%");
    EXPECT_EQ(rows[6].mean, "0.0");
    EXPECT_EQ(rows[1].count, "0");
    EXPECT_TRUE(rows[1].mean.empty() && rows[1].spread.empty() && rows[1].inTune.empty())
            << "an unheard degree never reads as in tune";
    EXPECT_EQ(rows[2].tip.rfind("A: 12 readings", 0), 0u) << rows[2].tip;

    // Only the A was heard often enough to be called the furthest off.
    int worst = 0;
    for (const IntonationTableRow &row : rows)
        worst += row.worst ? 1 : 0;
    EXPECT_EQ(worst, 1);
    EXPECT_TRUE(rows[2].worst);

    b.board.ResetIntonation();
    for (const IntonationTableRow &row : IntonationTableRows(b.board)) {
        EXPECT_EQ(row.count, "0");
        EXPECT_FALSE(row.worst);
    }
}

TEST(IntonationTableModel, TheTableLiesInTheExpandedPanelClearOfEveryOtherControl)
{
    for (int width : { 1000, 1400 }) {
        TunerWindowLayout layout(356);
        layout.setExpanded(true);
        layout.resized(width, 356 + 40);
        const PixelRect table = IntonationTablePlace(layout);
        const PixelRect panel = layout.rect(TunerControl::PanelFrame);
        EXPECT_GE(table.left, panel.left);
        EXPECT_GE(table.top, panel.top);
        EXPECT_LE(table.right, panel.right);
        EXPECT_LE(table.bottom, panel.bottom);
        EXPECT_GE(table.height(), 110) << "room for a header and half the degrees";
        EXPECT_EQ(table.right, width - 6) << "it grows with the window";
        for (int c = int(TunerControl::KeySpin); c < kTunerControlCount; ++c) {
            if (layout.visible(TunerControl(c))) {
                EXPECT_FALSE(table.intersects(layout.rect(TunerControl(c)))) << c;
            }
        }
        for (int i = 0; i < 8; ++i)
            EXPECT_FALSE(table.intersects(layout.bandMeter(i)));
        // Collapsed, the table is hidden but keeps its place, so showing it needs no move.
        layout.setExpanded(false);
        EXPECT_EQ(IntonationTablePlace(layout), table);
    }
}
