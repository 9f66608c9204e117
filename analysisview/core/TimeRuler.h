#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace corvane {

// One mark of the ruler under the panes: `x` pixels right of the data area's left edge; a major
// mark carries its label (a minor one an empty label).
struct RulerTick
{
    int x = 0;
    bool major = false;
    std::string label;
};

// What the ruler along the panes shows at a zoom: the recording's time in minutes:seconds, and
// bars and beats of the timing grid when it is shown. Its spacing is the finest of 1, 2, 5,
// 10, 15, 30 s, 1, 2, 5, 10, 15, 30 min, 1 h (and tenths and hundredths of a second, zoomed in)
// at which no label reaches the next one; the labels' width is measured by the caller's
// `measure` (pixels of a text in the font it paints with), so that what is tested is what is
// drawn. All times are seconds from the recording's start. Plain functions; allocate the ticks.
class TimeRuler
{
public:
    using Measure = std::function<int(const std::string &)>;

    // The space kept between one label's end and the next label, pixels.
    static constexpr int kLabelGap = 8;
    static constexpr int kBeatsPerBar = 4;
    static constexpr std::array<double, 22> kSteps { 0.01, 0.02, 0.05, 0.1,  0.2,   0.5,  1,   2,
                                                     5,    10,   15,   30,   60,    120,  300, 600,
                                                     900,  1800, 3600, 7200, 18000, 36000 };

    // "1:05", "12:00", "1:02:03"; with tenths or hundredths ("0:01.5", "0:00.25") when `step`,
    // the spacing of the marks, is finer than a second. Negative times read as 0.
    static std::string clockLabel(double seconds, double step);
    // "0:12 to 0:42 of 3:05": what a screen reader says of the visible part of a recording.
    static std::string spanText(double from, double to, double total);

    // The clock marks over `width` pixels from `leftEdge` seconds at `secondsPerPixel`: major
    // marks every step() with their labels, minor ones between where at least 4 pixels apart.
    static std::vector<RulerTick> clockTicks(double leftEdge, double secondsPerPixel, int width,
                                             const Measure &measure);
    // The spacing clockTicks() uses; the longest step when even that crowds the labels.
    static double step(double leftEdge, double secondsPerPixel, int width, const Measure &measure);

    // The bars and beats of a timing grid whose marks fall at originPhase + k * interval
    // (k = 0, 1, ...), each mark a beat and every kBeatsPerBar-th a bar: bar numbers from 1 on
    // the bars (every 2nd, 4th, ... bar when they crowd), "bar.beat" on every beat when there
    // is room, minor marks on unlabeled beats at least 4 pixels apart.
    static std::vector<RulerTick> beatTicks(double originPhase, double interval, double leftEdge,
                                            double secondsPerPixel, int width,
                                            const Measure &measure);
};

} // namespace corvane
