#include "CPitch.h"
#include "CTCDefs.h"
#include "DlgConfigPinwheels.h"
#include "KeyContext.h"
#include "LevelMeterWidget.h"
#include "PinwheelWidget.h"
#include "ScriptedColorChooser.h"
#include "UpDownControl.h"
#include "cPinwheelIndicator.h"

#include <QAction>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

using namespace corvane;
using namespace corvane::tuner;

namespace {

const PinwheelThresholds kThresholds = CTCDefs().GetPinwheelThresholds();
const PinwheelColors kColors = CTCDefs().GetPinwheelColors();

// A square wheel, so the hub is the face's center and the blades lie at exact angles: at phase 0
// they cover 90..135, 180..225, 270..315 and 0..45 degrees (counter-clockwise from 3 o'clock).
struct SquareWheel
{
    SquareWheel() { widget.resize(100, 100); }

    QImage Show(const WheelState &state)
    {
        widget.setPicture(state.picture(kColors, false));
        return widget.grab().toImage();
    }
    // The pixel `radius` from the center at `degrees`.
    static QColor At(const QImage &image, double degrees, double radius = 30.0)
    {
        const double a = degrees * std::numbers::pi / 180.0;
        return image.pixelColor(int(std::lround(50 + radius * std::cos(a))),
                                int(std::lround(50 - radius * std::sin(a))));
    }

    PinwheelWidget widget;
};

double Note(int semitonesAboveA0, double centsSharp = 0.0)
{
    return 27.5 * std::pow(2.0, semitonesAboveA0 / 12.0 + centsSharp / 1200.0);
}

} // namespace

TEST(PinwheelWidget, ActiveHoldingAndIdleWheelsShowTheirFaceBladeAndBackgroundColors)
{
    SquareWheel wheel;
    WheelState state;
    state.Step(0, 25.0, kThresholds, WheelState::kTurnPeriod); // zone 0, 128,0,0
    QImage active = wheel.Show(state);
    const QColor background = active.pixelColor(1, 98);
    EXPECT_EQ(background, QColor(200, 200, 200));
    // Between the blades, and in the middle of one, wherever the phase has turned them.
    const auto face = [&state] { return 67.5 + state.phase() * 2.5; };
    const auto blade = [&state] { return 112.5 + state.phase() * 2.5; };
    EXPECT_EQ(SquareWheel::At(active, face()), QColor(128, 0, 0));
    EXPECT_EQ(SquareWheel::At(active, blade()), QColor(0, 0, 0));

    for (int i = 0; i < 6; ++i) // half-way through the hold; the turn goes on
        state.Step(WheelState::kNoNote, 0.0, kThresholds, WheelState::kTurnPeriod);
    ASSERT_EQ(state.phase(), 20);
    const QImage holding = wheel.Show(state);
    EXPECT_EQ(SquareWheel::At(holding, face()), QColor(149, 85, 85));
    EXPECT_EQ(SquareWheel::At(holding, blade()), QColor(42, 42, 42));

    for (int i = 0; i < 5; ++i)
        state.Step(WheelState::kNoNote, 0.0, kThresholds, WheelState::kTurnPeriod);
    ASSERT_EQ(state.mode(), WheelState::Mode::Idle);
    const QImage idle = wheel.Show(state);
    EXPECT_EQ(SquareWheel::At(idle, face()), QColor(170, 170, 170));
    EXPECT_EQ(SquareWheel::At(idle, blade()), QColor(85, 85, 85));

    const QImage chromatic = [&] {
        wheel.widget.setPicture(state.picture(kColors, true));
        return wheel.widget.grab().toImage();
    }();
    EXPECT_EQ(chromatic.pixelColor(1, 98), QColor(60, 60, 60));
}

TEST(PinwheelWidget, FlatTurnsCounterClockwiseAndSharpClockwiseOnTheScreen)
{
    SquareWheel wheel;
    WheelState flat;
    const QImage still = wheel.Show(flat);
    flat.Step(0, 25.0, kThresholds, WheelState::kTurnPeriod); // +20 degrees
    const QImage flatTurned = wheel.Show(flat);
    WheelState sharp;
    sharp.Step(0, -25.0, kThresholds, WheelState::kTurnPeriod); // -20 degrees
    const QImage sharpTurned = wheel.Show(sharp);

    const QColor idleBlade(85, 85, 85);
    // Just behind blade 0's trailing edge (135) and just before its leading edge (90).
    EXPECT_NE(SquareWheel::At(still, 145.0), idleBlade);
    EXPECT_NE(SquareWheel::At(still, 80.0), idleBlade);
    EXPECT_EQ(SquareWheel::At(flatTurned, 145.0), QColor(0, 0, 0)) << "blade moved round to 145";
    EXPECT_NE(SquareWheel::At(flatTurned, 80.0), QColor(0, 0, 0));
    EXPECT_EQ(SquareWheel::At(sharpTurned, 80.0), QColor(0, 0, 0)) << "blade moved back to 80";
    EXPECT_NE(SquareWheel::At(sharpTurned, 145.0), QColor(0, 0, 0));
}

class PinwheelIndicatorTest : public ::testing::Test
{
protected:
    PinwheelIndicatorTest()
    {
        window.resize(700, 260);
        QRect area(0, 0, 700, 260);
        indicator.Create(window, area);
        createdHeight = area.height();
        indicator.SetClassic(true);
    }

    CPitch pitch;
    KeyContext keys;
    CTCDefs settings;
    QWidget window;
    cPinwheelIndicator indicator { pitch, keys, settings };
    int createdHeight = 0;
};

TEST_F(PinwheelIndicatorTest, CreatePlacesTwelveWheelsWithTheirButtons)
{
    EXPECT_TRUE(indicator.IsVisible());
    EXPECT_EQ(createdHeight, 250);
    EXPECT_EQ(indicator.wheel(0)->geometry(), QRect(0, 125, 100, 125));
    EXPECT_EQ(indicator.nameButton(0)->text(), QStringLiteral("More..."));
    EXPECT_EQ(indicator.wheel(0)->picture().name, "C");
    EXPECT_EQ(indicator.wheel(1)->picture().background, Rgb::gray(60)) << "Db is chromatic in C";

    QSignalSpy more(&indicator, &cPinwheelIndicator::pitchConfigRequested);
    QSignalSpy tone(&indicator, &cPinwheelIndicator::toneToggleRequested);
    indicator.nameButton(3)->click();
    indicator.toneButton(4)->click();
    ASSERT_EQ(more.count(), 1);
    EXPECT_EQ(more.at(0).at(0).toInt(), 3);
    ASSERT_EQ(tone.count(), 1);
    EXPECT_EQ(tone.at(0).at(0).toInt(), 4);

    const qint64 offIcon = indicator.toneButton(4)->icon().cacheKey();
    indicator.SetTone(4, true);
    EXPECT_TRUE(indicator.toneOn(4));
    EXPECT_NE(indicator.toneButton(4)->icon().cacheKey(), offIcon);
}

TEST_F(PinwheelIndicatorTest, UpdateLightsTheWheelOfTheNoteInItsZoneColor)
{
    indicator.Update(window, Note(3, -25.0), 0.5, std::chrono::milliseconds(200),
                     true); // C, 25 cents flat
    EXPECT_EQ(indicator.wheel(0)->picture().face, Rgb::fromColorRef(kColors[0]));
    EXPECT_EQ(indicator.wheel(0)->picture().phase, 8);
    EXPECT_EQ(indicator.wheel(2)->picture().face, Rgb::gray(170));

    // A color changed in the settings shows at the next update.
    PinwheelColors colors = kColors;
    colors[0] = 0x00FF0000; // blue
    settings.SetPinwheelColors(colors);
    indicator.Update(window, Note(3, -25.0), 0.5, std::chrono::milliseconds(200), true);
    EXPECT_EQ(indicator.wheel(0)->picture().face, (Rgb { 0, 0, 255 }));
}

TEST_F(PinwheelIndicatorTest, LargeWindowsGetLargeWheelsDrawnWhole)
{
    window.resize(1920, 1000);
    QRect area(0, 0, 1920, 1000);
    indicator.Layout(window, area);
    EXPECT_EQ(area.height(), 684);
    PinwheelWidget *wheel = indicator.wheel(0);
    ASSERT_EQ(wheel->size(), QSize(274, 342));
    const QImage image = wheel->grab().toImage();
    // The face reaches down to 6 pixels above the wheel's bottom edge.
    EXPECT_NE(image.pixelColor(137, 330), QColor(200, 200, 200));
    EXPECT_EQ(image.pixelColor(137, 340), QColor(200, 200, 200));
    EXPECT_EQ(indicator.iconSize(), 48);
}

TEST(LevelMeterWidget, BarAndPeakMarkerLandOnTheirPixels)
{
    LevelMeterWidget meter(false, QStringLiteral("signal"), QStringLiteral("full"));
    meter.resize(240, 30); // trough 36..236: 200 pixels
    meter.feed(0.5, 0.2);
    meter.feed(0.25, 0.2); // the peak stays at 0.5
    const QImage image = meter.grab().toImage();
    EXPECT_EQ(image.pixelColor(60, 15), QColor(0, 155, 0)) << "bar";
    EXPECT_EQ(image.pixelColor(100, 15), QColor(80, 80, 80)) << "trough past the bar";
    EXPECT_EQ(image.pixelColor(135, 15), QColor(0, 255, 0)) << "peak marker at 134..135";
    EXPECT_EQ(image.pixelColor(137, 15), QColor(80, 80, 80));
    EXPECT_EQ(image.pixelColor(238, 15), QColor(0, 0, 0)) << "frame";
    EXPECT_EQ(image.pixelColor(36 + 40, 5), QColor(255, 255, 255)) << "the second tick";
    EXPECT_EQ(meter.accessibleName(), "Signal level");
    EXPECT_EQ(meter.accessibleDescription(), "25 percent, peak 50 percent");
}

TEST(LevelMeterWidget, VerticalBandMeterRisesFromItsTroughBottom)
{
    LevelMeterWidget meter(true, {}, {});
    meter.setLabels(QStringLiteral("2.7"), QStringLiteral("5.4"));
    meter.resize(30, 160); // trough 4..132: 128 pixels
    meter.feed(0.5, 0.2);
    const QImage image = meter.grab().toImage();
    EXPECT_EQ(image.pixelColor(15, 100), QColor(0, 155, 0));
    EXPECT_EQ(image.pixelColor(15, 69), QColor(0, 255, 0)) << "peak marker at 68..69";
    EXPECT_EQ(image.pixelColor(15, 70), QColor(0, 155, 0));
    EXPECT_EQ(image.pixelColor(15, 67), QColor(80, 80, 80));
    EXPECT_EQ(meter.meter().label1(), "2.7");
    EXPECT_EQ(meter.accessibleName(), "Octave band from 2.7 to 5.4 Hz");
}

class PinwheelDialogTest : public ::testing::Test
{
protected:
    widgets::UpDownControl &Field(int t) { return *dialog.thresholdField(t); }
    std::array<int, 5> Shown()
    {
        std::array<int, 5> values {};
        for (int t = 0; t < 5; ++t)
            values[std::size_t(t)] = Field(t).value();
        return values;
    }

    CTCDefs settings;
    widgets::ScriptedColorChooser chooser;
    widgets::ColorChooserOverride useChooser { chooser };
    DlgConfigPinwheels dialog { settings };
};

TEST_F(PinwheelDialogTest, RaisingTheCenterRaisesTheInnerFieldsAndTooLowStepsAreRefused)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Pitchwheel Colors and Thresholds"));
    for (int i = 0; i < 6; ++i)
        Field(2).stepBy(1);
    EXPECT_EQ(Shown(), (std::array<int, 5> { 12, 10, 10, 10, 12 }));
    Field(3).stepBy(-1);
    EXPECT_EQ(Field(3).value(), 10) << "the inner sharp value cannot go below the center";
    Field(0).stepBy(-3);
    EXPECT_EQ(Field(0).value(), 12) << "a step past the inner value is refused whole";
}

TEST_F(PinwheelDialogTest, RandomSpinsNeverPutTheFieldsOutOfOrder)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> which(0, 4);
    std::uniform_int_distribution<int> step(-2, 2);
    for (int i = 0; i < 3000; ++i) {
        Field(which(random)).stepBy(step(random));
        const std::array<int, 5> v = Shown();
        ASSERT_TRUE(0 <= v[2] && v[2] <= v[1] && v[1] <= v[0] && v[0] <= 50 && v[2] <= v[3]
                    && v[3] <= v[4] && v[4] <= 50)
                << "after step " << i;
        ASSERT_EQ(v[2], dialog.zones().threshold(2));
    }
}

TEST_F(PinwheelDialogTest, OkStoresColorsAndThresholdsAndCancelKeepsTheSettings)
{
    chooser.answers = { QColor(10, 20, 30), std::nullopt };
    dialog.colorButton(6)->click();
    dialog.colorButton(5)->click(); // canceled: keeps its color
    ASSERT_EQ(chooser.asked.size(), 2u);
    EXPECT_EQ(chooser.asked[0], QColor(128, 0, 0)) << "starts from the zone's color";
    EXPECT_EQ(dialog.preview(6)->picture().face, (Rgb { 10, 20, 30 }));
    EXPECT_EQ(dialog.preview(5)->picture().face, Rgb::fromColorRef(kColors[5]));
    Field(4).stepBy(3);

    const CTCDefs before = settings;
    {
        DlgConfigPinwheels other(settings);
        other.thresholdField(4)->stepBy(1);
        other.reject();
    }
    EXPECT_EQ(settings, before) << "Cancel stores nothing";

    dialog.accept();
    EXPECT_EQ(settings.GetPinwheelColors()[6], 0x1E140Au);
    EXPECT_EQ(settings.GetPinwheelColors()[5], kColors[5]);
    EXPECT_EQ(settings.GetPinwheelThresholds(), (PinwheelThresholds { 12, 8, 4, 8, 15 }));
}

TEST_F(PinwheelIndicatorTest, EachWheelShowsHowInTuneItsDegreeWasPlayedAndTheMenuResetsIt)
{
    for (int i = 0; i < 4; ++i)
        indicator.Update(window, Note(3, -12.0), 0.5, std::chrono::milliseconds(200),
                         true); // C, 12 cents flat
    const WheelPicture &c = indicator.wheel(0)->picture();
    ASSERT_TRUE(c.meanCents.has_value());
    EXPECT_NEAR(*c.meanCents, -12.0, 0.01);
    EXPECT_FALSE(indicator.wheel(2)->picture().meanCents) << "no D was heard";
    EXPECT_EQ(indicator.wheel(0)->toolTip(),
              QStringLiteral("C: 3 readings, on average 12.0 cents flat (spread 0.0 cents), "
                             "0% in tune"));
    EXPECT_EQ(indicator.wheel(2)->toolTip(), QStringLiteral("D: not heard yet"));
    EXPECT_EQ(indicator.wheel(0)->accessibleName(), QStringLiteral("C pinwheel"));
    EXPECT_TRUE(indicator.wheel(0)->accessibleDescription().startsWith(
            QStringLiteral("C: 12.0 cents flat, ")));

    // The bar leans towards "b<" for a flat degree and towards ">#" for a sharp one: the dark
    // bar lies on the line of the marks, left or right of the middle tick.
    auto barAt = [](const WheelPicture &picture, int x) {
        PinwheelWidget widget;
        widget.resize(100, 125);
        widget.setPicture(picture);
        const QImage image = widget.grab().toImage();
        for (int y = 0; y < 20; ++y) {
            if (image.pixelColor(x, y) == QColor(40, 40, 40))
                return true;
        }
        return false;
    };
    WheelPicture flat = c;
    EXPECT_TRUE(barAt(flat, 40));
    EXPECT_FALSE(barAt(flat, 60));
    WheelPicture sharp = c;
    sharp.meanCents = 12.0;
    EXPECT_TRUE(barAt(sharp, 60));
    EXPECT_FALSE(barAt(sharp, 40));

    ASSERT_EQ(indicator.wheel(0)->actions().size(), 1);
    indicator.wheel(5)->actions().front()->trigger();
    EXPECT_FALSE(indicator.wheel(0)->picture().meanCents);
    EXPECT_EQ(indicator.wheel(0)->toolTip(), QStringLiteral("C: not heard yet"));
}
