#pragma once

namespace corvane::tuner {

// Smooths the level a meter shows: the value follows every feed at once, the peak jumps up to
// any value at or above it, is held for `holdSeconds`, and then falls by the full scale every
// `fallSeconds` until a value catches it again. Each feed says how long it has been since the
// one before, so the peak holds and falls by the clock however often the meter is fed.
//
// UI thread only; plain value type.
class LevelBallistics
{
public:
    // `holdSeconds` and `fallSeconds` in seconds, `fullScale` the value of a full meter. A fall
    // time of 0 or below is taken as the smallest positive one, so the peak falls at once
    // instead of dividing by zero.
    LevelBallistics(double holdSeconds, double fallSeconds, double fullScale) noexcept;

    // One feed of a level (in the meter's units, 0 .. fullScale), `elapsedSeconds` after the one
    // before (a negative time or NaN counts as none).
    void add(double x, double elapsedSeconds) noexcept;

    double value() const noexcept { return m_value; }
    double peak() const noexcept { return m_peak; }
    double holdLeft() const noexcept { return m_holdLeft; }

private:
    double m_value = 0.0;
    double m_peak = 0.0;
    double m_holdSeconds;
    double m_fallSeconds;
    double m_fullScale;
    double m_holdLeft = 0.0;
};

} // namespace corvane::tuner
