#include "WheelTexts.h"

#include <cmath>
#include <cstdio>

namespace corvane::tuner {

std::string IntonationTip(std::string_view name, const IntonationFigures &figures)
{
    std::string tip(name);
    if (figures.count == 0)
        return tip + ": not heard yet";
    char text[160];
    const double mean = figures.meanCents;
    char average[48];
    if (std::abs(mean) < 0.05)
        std::snprintf(average, sizeof average, "on average in tune");
    else
        std::snprintf(average, sizeof average, "on average %.1f cents %s", std::abs(mean),
                      mean > 0.0 ? "sharp" : "flat");
    std::snprintf(text, sizeof text, ": %ld reading%s, %s (spread %.1f cents), %.0f%% in tune",
                  figures.count, figures.count == 1 ? "" : "s", average, figures.spreadCents(),
                  100.0 * figures.inTuneShare());
    return tip + text;
}

std::string WheelSpokenValue(const WheelState &wheel)
{
    std::string text(wheel.name());
    if (wheel.mode() == WheelState::Mode::Idle)
        return text + ": silent";
    // The wheel keeps its deviation with positive = flat; a player reads sharp as positive.
    const double sharp = -wheel.lastCents();
    char cents[48];
    std::snprintf(cents, sizeof cents, "%.1f cents %s", std::abs(sharp),
                  sharp >= 0.0 ? "sharp" : "flat");
    if (wheel.mode() == WheelState::Mode::Holding)
        return text + ": fading, last " + cents;
    static constexpr const char *kZones[] = { "very flat",      "flat",  "a little flat", "in tune",
                                              "a little sharp", "sharp", "very sharp" };
    const int zone = wheel.color();
    return text + ": " + cents + (zone >= 0 && zone < 7 ? std::string(", ") + kZones[zone] : "");
}

} // namespace corvane::tuner
