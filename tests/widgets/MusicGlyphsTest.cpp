// The music symbols measured by their ink: each sits where a staff needs it, at any pixel
// density.

#include "MusicGlyphs.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace corvane;
using corvane::widgets::MusicGlyphs;

namespace {

constexpr double kSpacing = 8.0;
constexpr double kMiddle = 60.0; // the staff's middle line in a 120 x 120 picture
constexpr double kTopLine = kMiddle - 2 * kSpacing;
constexpr double kBottomLine = kMiddle + 2 * kSpacing;

// The box that holds every clearly inked pixel, in logical coordinates (device pixels divided
// by the ratio). Empty when nothing was drawn.
QRectF inkBounds(const std::function<void(QPainter &)> &draw, int pixelRatio = 1)
{
    QImage image(QSize(120, 120) * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        draw(painter);
    }
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) < 96)
                continue;
            left = std::min(left, x);
            right = std::max(right, x + 1);
            top = std::min(top, y);
            bottom = std::max(bottom, y + 1);
        }
    }
    if (right < 0)
        return {};
    return QRectF(QPointF(left, top) / pixelRatio, QPointF(right, bottom) / pixelRatio);
}

QRectF signAt(Accidental sign, double y)
{
    return inkBounds([&](QPainter &p) { MusicGlyphs::drawAccidental(p, sign, 40, y, kSpacing); });
}

QRectF clef(int which, double *musicX = nullptr)
{
    return inkBounds([&](QPainter &p) {
        const double x = MusicGlyphs::drawClef(p, which, 10, kMiddle, kSpacing);
        if (musicX)
            *musicX = x;
    });
}

} // namespace

TEST(MusicGlyphs, TheMusicFontIsThere)
{
    // scripts/install-deps.sh installs fonts-symbola; without it the letters stand in.
    EXPECT_TRUE(MusicGlyphs::hasMusicFont());
}

TEST(MusicGlyphs, SignsSitOnTheNotesLineOrSpaceAndStartWhereTheyAreAsked)
{
    for (Accidental sign : { Accidental::Sharp, Accidental::Natural, Accidental::DoubleSharp }) {
        const QRectF ink = signAt(sign, kMiddle);
        ASSERT_FALSE(ink.isEmpty()) << int(sign);
        EXPECT_NEAR(ink.center().y(), kMiddle, 1.0) << int(sign);
        EXPECT_NEAR(ink.left(), 40.0, 1.0) << int(sign);
    }
    EXPECT_NEAR(signAt(Accidental::Sharp, kMiddle).height(), 2.7 * kSpacing, 2.0);
    // A flat's belly ends just below its line; its stem rises well above it.
    for (Accidental sign : { Accidental::Flat, Accidental::DoubleFlat }) {
        const QRectF ink = signAt(sign, kMiddle);
        ASSERT_FALSE(ink.isEmpty()) << int(sign);
        EXPECT_GT(ink.bottom(), kMiddle) << int(sign);
        EXPECT_LT(ink.bottom(), kMiddle + 0.8 * kSpacing) << int(sign);
        EXPECT_LT(ink.top(), kMiddle - 1.2 * kSpacing) << int(sign);
    }
    EXPECT_GT(signAt(Accidental::DoubleFlat, kMiddle).width(),
              1.5 * signAt(Accidental::Flat, kMiddle).width());
    // A sign a line higher is drawn a line higher.
    EXPECT_NEAR(signAt(Accidental::Sharp, kMiddle - kSpacing).center().y(), kMiddle - kSpacing,
                1.0);
    EXPECT_TRUE(signAt(Accidental::None, kMiddle).isEmpty());
    // Placed at its offset left of a head, every sign keeps a little air before the head.
    for (Accidental sign : { Accidental::Sharp, Accidental::Natural, Accidental::Flat,
                             Accidental::DoubleFlat, Accidental::DoubleSharp }) {
        const double headX = 80.0;
        const QRectF ink =
                signAt(sign, kMiddle)
                        .translated(headX - MusicGlyphs::accidentalOffset(sign, kSpacing) - 40.0,
                                    0);
        const QRectF head = inkBounds([&](QPainter &p) {
            MusicGlyphs::drawNoteHead(p, { headX, kMiddle }, kSpacing);
        });
        EXPECT_LT(ink.right() + 0.15 * kSpacing, head.left()) << int(sign);
        EXPECT_GT(ink.right() + 0.6 * kSpacing, head.left()) << int(sign) << " not far off";
    }
}

TEST(MusicGlyphs, ClefsSitOnTheirLinesAndLeaveRoomForTheMusic)
{
    double musicX = 0;
    const QRectF treble = clef(0, &musicX);
    EXPECT_LT(treble.top(), kTopLine); // the G clef rises above the staff and hangs below it
    EXPECT_GT(treble.bottom(), kBottomLine);
    EXPECT_LE(treble.right(), musicX);

    const QRectF bass = clef(3, &musicX);
    EXPECT_NEAR(bass.top(), kTopLine, 2.0);
    EXPECT_LT(bass.bottom(), kBottomLine + 2.0);
    EXPECT_LE(bass.right(), musicX);

    // The C clef's center marks middle C: the middle line for alto, a line higher for tenor.
    const QRectF alto = clef(1);
    const QRectF tenor = clef(2);
    EXPECT_NEAR(alto.center().y(), kMiddle, 1.0);
    EXPECT_NEAR(tenor.center().y(), kMiddle - kSpacing, 1.0);
    EXPECT_EQ(clef(7), treble); // an unknown clef draws the treble
}

TEST(MusicGlyphs, AtDoubleDensityTheSymbolsKeepTheirPlaceAndSize)
{
    auto draw = [](QPainter &p) {
        MusicGlyphs::drawClef(p, 0, 10, kMiddle, kSpacing);
        MusicGlyphs::drawAccidental(p, Accidental::Flat, 60, kMiddle, kSpacing);
        MusicGlyphs::drawNoteHead(p, { 90, kMiddle }, kSpacing);
    };
    const QRectF single = inkBounds(draw, 1);
    const QRectF twice = inkBounds(draw, 2);
    ASSERT_FALSE(single.isEmpty());
    EXPECT_NEAR(twice.left(), single.left(), 1.0);
    EXPECT_NEAR(twice.top(), single.top(), 1.0);
    EXPECT_NEAR(twice.right(), single.right(), 1.0);
    EXPECT_NEAR(twice.bottom(), single.bottom(), 1.0);
}

TEST(MusicGlyphs, ANoteHeadFillsASpaceAroundItsCenter)
{
    const QRectF head = inkBounds([](QPainter &p) {
        MusicGlyphs::drawNoteHead(p, { 50, 50 }, kSpacing);
    });
    EXPECT_NEAR(head.center().x(), 50.0, 0.75);
    EXPECT_NEAR(head.center().y(), 50.0, 0.75);
    EXPECT_GT(head.width(), kSpacing);
    EXPECT_LT(head.height(), 1.2 * kSpacing);
}
