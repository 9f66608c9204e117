#include "UpDownControl.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using corvane::widgets::UpDownControl;

TEST(UpDownControl, AStepTheFilterRefusesChangesNothingAndSignalsNothing)
{
    UpDownControl control;
    control.setRange(0, 50);
    control.setValue(8);
    int floor = 8;
    std::vector<int> asked;
    control.setStepFilter([&](int v) {
        asked.push_back(v);
        return v >= floor;
    });
    QSignalSpy stepped(&control, &UpDownControl::stepped);

    control.stepBy(-1);
    EXPECT_EQ(control.value(), 8);
    EXPECT_EQ(control.text(), QStringLiteral("8"));
    EXPECT_EQ(stepped.count(), 0);

    control.stepBy(1);
    EXPECT_EQ(control.value(), 9);
    EXPECT_EQ(control.text(), QStringLiteral("9"));
    ASSERT_EQ(stepped.count(), 1);
    EXPECT_EQ(stepped.at(0).at(0).toInt(), 9);
    EXPECT_EQ(asked, (std::vector<int> { 7, 9 }));
}

TEST(UpDownControl, TheRangeIsCheckedBeforeTheFilterIsAsked)
{
    UpDownControl control;
    control.setRange(0, 50);
    control.setValue(50);
    bool asked = false;
    control.setStepFilter([&](int) { return asked = true; });
    control.stepBy(1);
    EXPECT_EQ(control.value(), 50);
    EXPECT_FALSE(asked);
    control.setValue(70);
    EXPECT_EQ(control.value(), 50) << "setValue keeps the value within the range";
}

TEST(UpDownControl, KeysStepThroughTheFilterAndTheFieldCannotBeTypedInto)
{
    UpDownControl control;
    control.setRange(0, 50);
    control.setValue(4);
    control.setStepFilter([](int v) { return v != 6; });
    control.show();
    QTest::keyClick(&control, Qt::Key_Up);
    QTest::keyClick(&control, Qt::Key_Up); // refused: stays at 5
    EXPECT_EQ(control.value(), 5);
    QTest::keyClick(&control, Qt::Key_Down);
    EXPECT_EQ(control.value(), 4);
    QTest::keyClicks(&control, QStringLiteral("9"));
    EXPECT_EQ(control.text(), QStringLiteral("4"));
}
