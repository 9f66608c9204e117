#include "BeatGrid.h"

#include <cmath>
#include <cstdio>

namespace corvane {

double BeatGrid::wrap(double value, double period) noexcept
{
    if (!(period > 0.0) || !std::isfinite(value))
        return 0.0;
    double r = std::fmod(value, period);
    if (r < 0.0)
        r += period;
    // fmod of a value a hair below a multiple can round up to the period itself.
    return r >= period ? 0.0 : r;
}

double BeatGrid::phaseAt(double leftEdge) const noexcept
{
    return wrap(m_originPhase - leftEdge, m_interval);
}

std::vector<int> BeatGrid::markOffsets(double leftEdge, double secondsPerPixel, int width) const
{
    std::vector<int> offsets;
    if (!(secondsPerPixel > 0.0) || width <= 0)
        return offsets;
    const double phase = phaseAt(leftEdge);
    for (double t = phase;; t += m_interval) {
        const auto x = static_cast<int>(std::floor(t / secondsPerPixel));
        if (x >= width)
            break;
        if (offsets.empty() || offsets.back() != x)
            offsets.push_back(x);
    }
    return offsets;
}

std::optional<double> BeatGrid::markAt(double t, double leftEdge,
                                       double secondsPerPixel) const noexcept
{
    const double phase = phaseAt(leftEdge);
    const double first = phase - 3 * secondsPerPixel;
    if (t < first)
        return std::nullopt;
    const double k = std::floor((t - first) / m_interval);
    const double mark = first + k * m_interval;
    if (t - mark > 6 * secondsPerPixel)
        return std::nullopt;
    return mark + 3 * secondsPerPixel;
}

void BeatGrid::drag(double seconds) noexcept
{
    m_originPhase = wrap(m_originPhase + seconds, m_interval);
}

void BeatGrid::beginStretch(double markTime) noexcept
{
    m_stretchAnchor = markTime - m_interval;
    m_stretching = true;
}

bool BeatGrid::stretch(double seconds, double secondsPerPixel) noexcept
{
    if (!m_stretching)
        return false;
    m_interval += seconds;
    const double minimum = kMinStretchPixels * secondsPerPixel;
    if (!(m_interval >= minimum)) {
        m_interval = minimum;
        m_stretching = false;
    }
    m_originPhase = wrap(m_stretchAnchor, m_interval);
    return m_stretching;
}

void BeatGrid::keepDrawable(double secondsPerPixel) noexcept
{
    if (m_interval < kMinShownPixels * secondsPerPixel) {
        m_interval *= 2;
        m_originPhase = wrap(m_originPhase, m_interval);
    }
}

std::string BeatGrid::bpmText() const
{
    char text[32];
    std::snprintf(text, sizeof text, "%dbpm", static_cast<int>(60.0 / m_interval));
    return text;
}

} // namespace corvane
