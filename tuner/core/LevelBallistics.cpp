#include "LevelBallistics.h"

#include <limits>

namespace corvane::tuner {

namespace {

    double PositiveOrTiny(double x) noexcept
    {
        return x > 0.0 ? x : std::numeric_limits<double>::min();
    }

} // namespace

LevelBallistics::LevelBallistics(double holdSeconds, double fallSeconds, double fullScale) noexcept
    : m_holdSeconds(holdSeconds)
    , m_fallSeconds(PositiveOrTiny(fallSeconds))
    , m_fullScale(fullScale)
{
}

void LevelBallistics::add(double x, double elapsedSeconds) noexcept
{
    const double elapsed = elapsedSeconds > 0.0 ? elapsedSeconds : 0.0;
    m_holdLeft -= elapsed;
    if (m_holdLeft <= 0.0) {
        m_holdLeft = 0.0;
        m_peak -= m_fullScale * elapsed / m_fallSeconds;
    }
    if (x >= m_peak) {
        m_holdLeft = m_holdSeconds;
        m_peak = x;
    }
    m_value = x;
}

} // namespace corvane::tuner
