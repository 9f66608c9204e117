#include "LevelBallistics.h"

#include <limits>

namespace corvane::tuner {

namespace {

    double PositiveOrTiny(double x) noexcept
    {
        return x > 0.0 ? x : std::numeric_limits<double>::min();
    }

} // namespace

LevelBallistics::LevelBallistics(double updateRate, double holdSeconds, double fallSeconds,
                                 double fullScale) noexcept
    : m_holdSeconds(holdSeconds)
    , m_updateRate(PositiveOrTiny(updateRate))
    , m_fallSeconds(PositiveOrTiny(fallSeconds))
    , m_fullScale(fullScale)
{
}

void LevelBallistics::add(double x) noexcept
{
    m_holdLeft -= 1.0 / m_updateRate;
    if (m_holdLeft <= 0.0) {
        m_holdLeft = 0.0;
        m_peak -= m_fullScale / (m_fallSeconds * m_updateRate);
    }
    if (x >= m_peak) {
        m_holdLeft = m_holdSeconds;
        m_peak = x;
    }
    m_value = x;
}

} // namespace corvane::tuner
