#include "TimeRuler.h"

#include <cmath>
#include <cstdio>

namespace corvane {

namespace {

    constexpr int kMinMinorPixels = 4;

    // The minor marks in one step: a division that lands on round numbers of the finer steps.
    int divisionsOf(double step) noexcept
    {
        const double lead = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
        if (step >= 60 && std::fmod(step, 60.0) == 0.0) {
            const double minutes = step / 60;
            if (minutes == 1 || minutes == 30 || minutes == 60)
                return 6;
            if (minutes == 15)
                return 3;
        }
        if (step == 15)
            return 3;
        if (step == 30)
            return 6;
        if (std::abs(lead - 2.0) < 1e-6)
            return 4;
        return 5;
    }

    // The x of time `t`, measured as the panes place it: floor of the pixel offset.
    int xOf(double t, double leftEdge, double secondsPerPixel) noexcept
    {
        return static_cast<int>(std::floor((t - leftEdge) / secondsPerPixel + 1e-6));
    }

    // Whether labels of `text(k)` at x(k) fit between their neighbours, for every label that
    // the width shows.
    template<class X, class Text>
    bool labelsFit(long first, long last, X &&x, Text &&text, const TimeRuler::Measure &measure)
    {
        for (long k = first; k < last; ++k) {
            if (x(k) + measure(text(k)) + TimeRuler::kLabelGap > x(k + 1))
                return false;
        }
        return true;
    }

} // namespace

std::string TimeRuler::clockLabel(double seconds, double step)
{
    const int decimals = step < 0.1 - 1e-9 ? 2 : step < 1 - 1e-9 ? 1 : 0;
    const double scale = decimals == 2 ? 100.0 : decimals == 1 ? 10.0 : 1.0;
    const auto units = static_cast<long long>(std::llround(std::max(seconds, 0.0) * scale));
    const long long whole = units / static_cast<long long>(scale);
    const long long fraction = units % static_cast<long long>(scale);
    const long long h = whole / 3600;
    const long long m = whole / 60 % 60;
    const long long s = whole % 60;
    char text[48];
    if (h > 0)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", h, m, s);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", m, s);
    std::string out = text;
    if (decimals > 0) {
        std::snprintf(text, sizeof text, ".%0*lld", decimals, fraction);
        out += text;
    }
    return out;
}

std::string TimeRuler::spanText(double from, double to, double total)
{
    return clockLabel(from, 1) + " to " + clockLabel(to, 1) + " of " + clockLabel(total, 1);
}

double TimeRuler::step(double leftEdge, double secondsPerPixel, int width, const Measure &measure)
{
    if (!(secondsPerPixel > 0.0) || width <= 0)
        return kSteps.back();
    const double right = leftEdge + width * secondsPerPixel;
    for (double step : kSteps) {
        // The labels of this step that the width shows, and the one after the last.
        const long first = static_cast<long>(std::floor(leftEdge / step));
        const long last = static_cast<long>(std::ceil(right / step));
        auto x = [&](long k) { return xOf(k * step, leftEdge, secondsPerPixel); };
        auto text = [&](long k) { return clockLabel(k * step, step); };
        if (labelsFit(first, last, x, text, measure))
            return step;
    }
    return kSteps.back();
}

std::vector<RulerTick> TimeRuler::clockTicks(double leftEdge, double secondsPerPixel, int width,
                                             const Measure &measure)
{
    std::vector<RulerTick> ticks;
    if (!(secondsPerPixel > 0.0) || width <= 0)
        return ticks;
    const double major = step(leftEdge, secondsPerPixel, width, measure);
    const int divisions = divisionsOf(major);
    const bool minors = major / divisions / secondsPerPixel >= kMinMinorPixels;
    const double minor = major / divisions;
    const double right = leftEdge + width * secondsPerPixel;
    for (long k = static_cast<long>(std::ceil(leftEdge / minor - 1e-6)); k * minor < right; ++k) {
        const bool isMajor = k % divisions == 0;
        if (!isMajor && !minors)
            continue;
        const double t = k * minor;
        const int x = xOf(t, leftEdge, secondsPerPixel);
        if (x < 0 || x >= width)
            continue;
        ticks.push_back({ x, isMajor, isMajor ? clockLabel(t, major) : std::string() });
    }
    return ticks;
}

std::vector<RulerTick> TimeRuler::beatTicks(double originPhase, double interval, double leftEdge,
                                            double secondsPerPixel, int width,
                                            const Measure &measure)
{
    std::vector<RulerTick> ticks;
    if (!(secondsPerPixel > 0.0) || !(interval > 0.0) || width <= 0)
        return ticks;
    const double right = leftEdge + width * secondsPerPixel;
    const long firstBeat =
            std::max(0L, static_cast<long>(std::ceil((leftEdge - originPhase) / interval - 1e-6)));
    const long lastBeat = static_cast<long>(std::ceil((right - originPhase) / interval));
    auto beatX = [&](long k) { return xOf(originPhase + k * interval, leftEdge, secondsPerPixel); };
    auto beatText = [](long k) {
        return std::to_string(k / kBeatsPerBar + 1) + "." + std::to_string(k % kBeatsPerBar + 1);
    };
    const bool everyBeat = labelsFit(firstBeat, lastBeat, beatX, beatText, measure);

    // Bars labeled every `stride` bars: 1, 2, 4, ... until the numbers no longer touch.
    long stride = 1;
    if (!everyBeat) {
        for (; stride < (1L << 30); stride *= 2) {
            const long span = stride * kBeatsPerBar;
            auto x = [&](long j) { return beatX(j * span); };
            auto barText = [&](long j) { return std::to_string(j * stride + 1); };
            if (labelsFit(firstBeat / span, lastBeat / span + 1, x, barText, measure))
                break;
        }
    }
    const bool minors = interval / secondsPerPixel >= kMinMinorPixels;
    for (long k = firstBeat; k <= lastBeat; ++k) {
        const int x = beatX(k);
        if (x < 0 || x >= width)
            continue;
        const bool bar = k % kBeatsPerBar == 0;
        const long barIndex = k / kBeatsPerBar;
        if (everyBeat)
            ticks.push_back({ x, true, beatText(k) });
        else if (bar && barIndex % stride == 0)
            ticks.push_back({ x, true, std::to_string(barIndex + 1) });
        else if (minors)
            ticks.push_back({ x, false, {} });
    }
    return ticks;
}

} // namespace corvane
