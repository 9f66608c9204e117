#include "LevelMeter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace corvane::tuner {

void LevelMeter::init(const PixelRect &frame, bool vertical, double fullScale, Rgb barColor,
                      Rgb peakColor, int frameId, std::string label1, std::string label2)
{
    m_frame = frame;
    m_vertical = vertical;
    m_fullScale = fullScale;
    m_barColor = barColor;
    m_peakColor = peakColor;
    m_frameId = frameId;
    m_drawnBar = 0;
    m_drawnPeak = 0;
    setLabels(std::move(label1), std::move(label2));
}

void LevelMeter::setLabels(std::string label1, std::string label2)
{
    m_label1 = std::move(label1);
    m_label2 = std::move(label2);
}

PixelRect LevelMeter::trough() const noexcept
{
    const PixelRect &f = m_frame;
    if (m_vertical)
        return { f.left + 4, f.top + 4, f.right - 4, f.bottom - 28 };
    return { f.left + 36, f.top + 4, f.right - 4, f.bottom - 4 };
}

int LevelMeter::lengthOf(double level) const noexcept
{
    const PixelRect t = trough();
    const int length = std::max(0, m_vertical ? t.height() : t.width());
    if (!(level > 0.0) || !(m_fullScale > 0.0))
        return 0;
    const double pixels = length * level / m_fullScale;
    return pixels >= length ? length : int(pixels);
}

bool LevelMeter::needsRedraw(double value, double peak) const noexcept
{
    return lengthOf(value) != m_drawnBar || lengthOf(peak) != m_drawnPeak;
}

LevelMeterPicture LevelMeter::picture(double value, double peak) const
{
    LevelMeterPicture p;
    const PixelRect &f = m_frame;
    const PixelRect t = trough();
    p.frame = f;
    p.trough = t;
    p.barColor = m_barColor;
    p.peakColor = m_peakColor;
    p.barLength = lengthOf(value);
    p.peakLength = lengthOf(peak);
    const bool showPeak = peak > kSmallestPeakShown;

    if (m_vertical) {
        p.bar = { t.left, t.bottom - p.barLength, t.right, t.bottom };
        if (showPeak) {
            // Two pixels starting peakLength above the bottom, kept inside the trough.
            const int top = std::max(t.top, t.bottom - p.peakLength);
            p.peak = PixelRect { t.left, top, t.right, std::min(t.bottom, top + 2) };
        }
        for (int i = 1; i <= 9; ++i) {
            const int y = t.top + int(i * 0.1 * t.height());
            p.ticks[std::size_t(2 * i - 2)] = { t.left, y, t.left + 3, y };
            p.ticks[std::size_t(2 * i - 1)] = { t.right - 4, y, t.right - 1, y };
        }
        p.labels[0] = { m_label1, (f.left + f.right) / 2, f.bottom - 4 };
        p.labels[1] = { m_label2, (f.left + f.right) / 2, f.bottom - 14 };
    } else {
        p.bar = { t.left, t.top, t.left + p.barLength, t.bottom };
        if (showPeak) {
            // Two pixels ending peakLength from the left, kept inside the trough.
            const int right = std::max(t.left + std::min(2, t.width()), t.left + p.peakLength);
            p.peak = PixelRect { right - 2, t.top, right, t.bottom };
        }
        for (int i = 1; i <= 9; ++i) {
            const int x = t.left + int(i * 0.1 * t.width());
            p.ticks[std::size_t(2 * i - 2)] = { x, t.top, x, t.top + 3 };
            p.ticks[std::size_t(2 * i - 1)] = { x, t.bottom - 4, x, t.bottom - 1 };
        }
        p.labels[0] = { m_label1, f.left + 18, f.bottom - 10 };
        p.labels[1] = { m_label2, f.left + 18, f.bottom - 20 };
    }
    return p;
}

void LevelMeter::markDrawn(const LevelMeterPicture &painted) noexcept
{
    m_drawnBar = painted.barLength;
    m_drawnPeak = painted.peakLength;
}

std::array<std::string, 2> LevelMeter::BandLabels(int rate, int band)
{
    const double low = rate / std::pow(2.0, 12 - band);
    std::array<char, 32> text {};
    std::array<std::string, 2> labels;
    std::snprintf(text.data(), text.size(), "%.1f", low);
    labels[0] = text.data();
    std::snprintf(text.data(), text.size(), "%.1f", 2.0 * low);
    labels[1] = text.data();
    return labels;
}

} // namespace corvane::tuner
