#include "ReadoutPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace corvane::tuner {

namespace {

    constexpr double kScaleCents = 50.0;

} // namespace

ReadoutPicture ReadoutPicture::of(const PitchReadout &readout, const PinwheelThresholds &thresholds)
{
    ReadoutPicture picture;
    const double halfWidth = std::clamp(double(thresholds[2]), 0.0, kScaleCents);
    picture.inTuneHalfWidth = halfWidth / kScaleCents;
    if (readout.range() != PitchReadout::Range::Within) {
        const bool below = readout.range() == PitchReadout::Range::Below;
        picture.outOfRange = below ? "below range" : "above range";
        picture.spoken = below ? "Below range" : "Above range";
        return picture;
    }
    if (!readout.shown()) {
        picture.spoken = "No note";
        return picture;
    }
    picture.shown = true;
    picture.note = readout.note();
    picture.hz = readout.hzText();
    picture.cents = readout.centsText();
    // The verdict follows the figure shown, so "+4.0 cents" is never called sharp while the zone
    // reaches 4 cents.
    const double shownCents = std::round(readout.cents() * 10.0) / 10.0;
    picture.zone = std::abs(shownCents) <= halfWidth ? Zone::InTune
            : shownCents < 0.0                       ? Zone::Flat
                                                     : Zone::Sharp;
    picture.verdict = picture.zone == Zone::InTune ? "in tune"
            : picture.zone == Zone::Flat           ? "flat"
                                                   : "sharp";
    picture.needle = std::clamp(readout.cents() / kScaleCents, -1.0, 1.0);

    char amount[48];
    if (shownCents == 0.0)
        std::snprintf(amount, sizeof amount, "0.0 cents");
    else
        std::snprintf(amount, sizeof amount, "%.1f cents %s", std::abs(shownCents),
                      shownCents < 0.0 ? "flat" : "sharp");
    picture.spoken = picture.note;
    picture.spoken += ", ";
    picture.spoken += picture.hz;
    picture.spoken += ", ";
    picture.spoken += amount;
    picture.spoken += ", ";
    picture.spoken += picture.verdict;
    return picture;
}

ReadoutGeometry ReadoutGeometry::within(const PixelRect &area) noexcept
{
    ReadoutGeometry g;
    const int w = std::max(area.width(), 0);
    const int h = std::max(area.height(), 0);
    if (h < kTallFrom) {
        // The strip: the note at the left as high as the strip allows, two lines beside it.
        g.noteHeight = h * 6 / 10;
        const int noteWidth = std::min(w / 3, g.noteHeight * 3);
        g.note = { area.left, area.top, area.left + noteWidth, area.bottom };
        g.textHeight = h * 3 / 10;
        const int middle = area.top + h / 2;
        g.hz = { g.note.right + 8, area.top, area.right, middle };
        g.cents = { g.note.right + 8, middle, area.right, area.bottom };
        g.scale = { area.left, area.bottom, area.right, area.bottom };
        return g;
    }
    // Tall: the note at the left takes up to 60 % of the height (and no more than a quarter of
    // the width a letter and an accidental and an octave need), the cents and the frequency to
    // its right, the scale across the bottom fifth.
    const int scaleHeight = std::max(h / 5, 16);
    const int textArea = h - scaleHeight - 8;
    g.noteHeight = std::min(textArea * 6 / 10 + textArea / 5, w / 5);
    const int noteWidth = g.noteHeight * 2;
    g.note = { area.left, area.top, area.left + noteWidth, area.top + textArea };
    g.textHeight = std::max(std::min(textArea / 5, g.noteHeight / 2), 8);
    const int textLeft = g.note.right + 12;
    const int middle = area.top + textArea / 2;
    g.cents = { textLeft, area.top, area.right, middle };
    g.hz = { textLeft, middle, area.right, area.top + textArea };
    g.scale = { area.left, area.bottom - scaleHeight, area.right, area.bottom };
    return g;
}

} // namespace corvane::tuner
