// Renders the tuner's widgets to PNG files, at the normal and at double pixel density, so they
// can be looked at without a screen:
//     corvane_render_tuner_gallery <folder>
// writes pinwheels.png, level-meters.png, pinwheel-colors-dialog.png, tone-icons.png and their
// @2x twins into <folder>.

#include "CPitch.h"
#include "CTCDefs.h"
#include "DlgConfigPinwheels.h"
#include "KeyContext.h"
#include "LevelMeter.h"
#include "LevelMeterWidget.h"
#include "ToneIconEngine.h"
#include "cPinwheelIndicator.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include "WidgetPictures.h"

#include <QImage>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>
#include <cstdio>

using namespace corvane;
using namespace corvane::tuner;

namespace {

// The classic display's update.
constexpr std::chrono::microseconds kFifth = WheelState::kTurnPeriod;

double Note(int semitonesAboveA0, double centsSharp)
{
    return 27.5 * std::pow(2.0, semitonesAboveA0 / 12.0 + centsSharp / 1200.0);
}

bool Save(QWidget &widget, const QString &folder, const QString &name)
{
    return corvane::testing::SaveWidgetPictures(widget, folder, name);
}

// Twelve wheels after a short phrase: the last note (E, nearly in tune) lit, G just left and
// holding in full color, D half-way through its fade, the rest idle. Two tones on.
bool RenderWheels(const QString &folder, const CPitch &pitch, const KeyContext &keys,
                  const CTCDefs &settings)
{
    QWidget window;
    window.setAutoFillBackground(true);
    window.resize(700, 250);
    cPinwheelIndicator wheels(pitch, keys, settings);
    QRect area(0, 0, 700, 250);
    wheels.Create(window, area);
    wheels.SetClassic(true); // the G holds beside the E
    area = QRect(0, 0, 700, 250);
    wheels.Layout(window, area);
    wheels.Update(window, Note(5, -15.0), 0.5, kFifth, true); // D, 15 cents flat
    for (int i = 0; i < 5; ++i)
        wheels.Update(window, Note(10, 13.0), 0.5, kFifth, true); // G, 13 cents sharp
    wheels.Update(window, Note(7, 2.0), 0.5, kFifth, true);       // E, 2 cents sharp
    wheels.Update(window, Note(7, 2.0), 0.5, kFifth, true);
    wheels.SetTone(0, true);
    wheels.SetTone(4, true);
    return Save(window, folder, QStringLiteral("pinwheels"));
}

bool RenderMeters(const QString &folder)
{
    QWidget window;
    window.setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(&window); // owned by the window
    auto *signal = new LevelMeterWidget(false, QStringLiteral("signal"), QStringLiteral("full"));
    signal->setFixedSize(320, 30);
    signal->feed(0.62, 0.2);
    signal->feed(0.41, 0.2);
    layout->addWidget(signal);
    auto *bands = new QHBoxLayout;
    layout->addLayout(bands);
    const double levels[8][2] = { { 0, 0 },      { 0.05, 0.02 }, { 0.3, 0.22 }, { 0.8, 0.55 },
                                  { 0.45, 0.4 }, { 0.2, 0.12 },  { 0.1, 0.06 }, { 0.02, 0.01 } };
    for (int band = 0; band < 8; ++band) {
        const auto labels = LevelMeter::BandLabels(44100, band);
        auto *meter = new LevelMeterWidget(true, QString::fromStdString(labels[0]),
                                           QString::fromStdString(labels[1]));
        meter->setFixedSize(40, 160);
        meter->feed(levels[band][0], 0.2);
        meter->feed(levels[band][1], 0.2);
        bands->addWidget(meter);
    }
    window.adjustSize();
    return Save(window, folder, QStringLiteral("level-meters"));
}

bool RenderDialog(const QString &folder)
{
    CTCDefs settings;
    DlgConfigPinwheels dialog(settings);
    dialog.adjustSize();
    return Save(dialog, folder, QStringLiteral("pinwheel-colors-dialog"));
}

bool RenderIcons(const QString &folder)
{
    QWidget sheet;
    sheet.setAutoFillBackground(true);
    sheet.resize(2 * (16 + 32 + 48) + 7 * 8, 48 + 16);
    QImage probe(1, 1, QImage::Format_ARGB32);
    bool ok = true;
    for (int scale : { 1, 2 }) {
        QImage image(sheet.size() * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(QColor(230, 230, 230));
        QPainter painter(&image);
        int x = 8;
        for (bool on : { true, false })
            for (int size : { 16, 32, 48 }) {
                ToneIconEngine::Icon(on, size).paint(&painter, QRect(x, 8, size, size));
                x += size + 8;
            }
        painter.end();
        const QString file = folder + (scale == 2 ? "/tone-icons@2x.png" : "/tone-icons.png");
        ok = image.save(file) && ok;
    }
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    CPitch pitch;
    KeyContext keys;
    CTCDefs settings;
    const bool ok = RenderWheels(folder, pitch, keys, settings) && RenderMeters(folder)
            && RenderDialog(folder) && RenderIcons(folder);
    return ok ? 0 : 1;
}
