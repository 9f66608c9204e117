#include "IntonationTip.h"

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

} // namespace corvane::tuner
