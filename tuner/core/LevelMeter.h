#pragma once

#include "PixelRect.h"
#include "Rgb.h"

#include <array>
#include <optional>
#include <string>

namespace corvane::tuner {

// Everything one meter shows for one value and peak, ready to paint: the black frame, the gray
// trough with its ten-step scale, the bar, the peak marker and two labels, all in the frame's
// own coordinates (the window's client coordinates when the frame is given in them).
struct LevelMeterPicture
{
    struct Line
    {
        int x1, y1, x2, y2; // from (x1, y1) to (x2, y2), last pixel included

        friend constexpr bool operator==(const Line &, const Line &) = default;
    };
    struct Label
    {
        std::string text;
        int x = 0; // center of the baseline
        int y = 0;
    };

    PixelRect frame;
    PixelRect trough;
    PixelRect bar;                 // empty when the value is 0
    std::optional<PixelRect> peak; // none at or below the smallest peak shown
    std::array<Line, 18> ticks {}; // at tenths of the trough, 4 pixels in from both edges
    std::array<Label, 2> labels;   // the low label first
    Rgb frameColor = Rgb::gray(0);
    Rgb troughColor = Rgb::gray(80);
    Rgb tickColor = Rgb::gray(255);
    Rgb textColor = Rgb::gray(255);
    Rgb barColor;
    Rgb peakColor;
    int barLength = 0;  // pixels
    int peakLength = 0; // pixels
};

// One level meter: a horizontal one for the whole signal ("full" over "signal" at its left end)
// or a vertical one for an octave band (its edges in Hz below it). The bar and the peak marker
// are measured along the trough, so the scale's ticks at tenths of the trough read true; values
// beyond the full scale fill the trough and no more.
//
// UI thread only. Holds two strings; init and setLabels may allocate, nothing else does.
class LevelMeter
{
public:
    static constexpr double kSmallestPeakShown = 0.0075; // a marker only above this
    static constexpr Rgb kBarColor { 0, 155, 0 };
    static constexpr Rgb kPeakColor { 0, 255, 0 };

    // Stores everything; nothing has been drawn yet.
    void init(const PixelRect &frame, bool vertical, double fullScale, Rgb barColor,
              Rgb peakColor, int frameId, std::string label1, std::string label2);
    // label1 is the lower one (the band's low edge, or "signal"), label2 the upper one.
    void setLabels(std::string label1, std::string label2);
    // Moves the meter when the window is laid out again.
    void setFrame(const PixelRect &frame) noexcept { m_frame = frame; }

    // True when the bar or the peak marker would now be drawn at a different length than last
    // time, so the meter must be painted again.
    bool needsRedraw(double value, double peak) const noexcept;

    // What to paint for `value` and `peak`. Does not count as drawn until markDrawn.
    LevelMeterPicture picture(double value, double peak) const;
    // Records the lengths a picture was painted with.
    void markDrawn(const LevelMeterPicture &painted) noexcept;

    // Bar length in pixels of a level, 0 .. trough length.
    int lengthOf(double level) const noexcept;
    PixelRect trough() const noexcept;

    const PixelRect &frame() const noexcept { return m_frame; }
    bool vertical() const noexcept { return m_vertical; }
    int frameId() const noexcept { return m_frameId; }
    int drawnBar() const noexcept { return m_drawnBar; }
    int drawnPeak() const noexcept { return m_drawnPeak; }
    const std::string &label1() const noexcept { return m_label1; }
    const std::string &label2() const noexcept { return m_label2; }

    // The labels of octave-band meter `band` (0..7) at capture rate `rate` in Hz: the band's low
    // edge rate / 2^(12 - band) and its high edge, twice that, with one decimal.
    static std::array<std::string, 2> BandLabels(int rate, int band);

private:
    PixelRect m_frame;
    bool m_vertical = false;
    double m_fullScale = 1.0;
    Rgb m_barColor = kBarColor;
    Rgb m_peakColor = kPeakColor;
    int m_frameId = 0;
    int m_drawnBar = 0;
    int m_drawnPeak = 0;
    std::string m_label1;
    std::string m_label2;
};

} // namespace corvane::tuner
