// The notes pane's staff without a recording: the clef and the key signature in the label column,
// drawn with the program's music symbols, never on top of each other.

#include "BlockSelection.h"
#include "CPitch.h"
#include "CTCDefs.h"
#include "KeyContext.h"
#include "NotesPane.h"
#include "PaneContext.h"
#include "TimeAxis.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace corvane;

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 100;

QImage renderPane(int clef, int key)
{
    CTCDefs settings;
    KeyContext keys(settings);
    keys.SetClef(clef);
    keys.SetKey(key);
    const CPitch pitch;
    TimeAxis axis;
    const BlockSelection selection;
    const PaneContext context { nullptr, axis, selection, keys, pitch, kWidth - 1 };
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    NotesPane::render(painter, QRect(0, 0, kWidth, kHeight), context);
    return image;
}

bool dark(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

} // namespace

TEST(NotesPane, TheKeySignatureStartsRightOfTheClefInEveryClef)
{
    for (int clef = 0; clef < 4; ++clef) {
        const QImage bare = renderPane(clef, 7); // C: the clef alone
        int clefRight = -1;
        for (int y = 0; y < kHeight; ++y) {
            if (dark(bare, TimeAxis::kLabelWidth - 2, y))
                continue; // a staff line
            for (int x = 0; x < TimeAxis::kLabelWidth - 2; ++x)
                if (dark(bare, x, y))
                    clefRight = std::max(clefRight, x);
        }
        ASSERT_GT(clefRight, 10) << "clef " << clef << " drawn";
        for (int key : { 14, 0 }) { // seven sharps, seven flats
            const QImage signed_ = renderPane(clef, key);
            int signLeft = kWidth;
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x)
                    if (dark(signed_, x, y) && !dark(bare, x, y))
                        signLeft = std::min(signLeft, x);
            ASSERT_LT(signLeft, kWidth) << "clef " << clef << " key " << key;
            EXPECT_LT(clefRight, signLeft) << "clef " << clef << " key " << key;
        }
    }
}
