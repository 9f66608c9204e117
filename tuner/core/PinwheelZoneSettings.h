#pragma once

#include "CTCDefs.h"

#include <array>

namespace corvane::tuner {

// The pinwheels' zone colors and cent thresholds as the color dialog edits them, and the rules
// that keep the thresholds in order. Thresholds t0..t4: outer flat, inner flat, the in-tune
// zone's half-width, inner sharp, outer sharp. After every accepted step
//     0 <= t2 <= t1 <= t0 <= 50   and   t2 <= t3 <= t4 <= 50.
//
// Plain value type; UI thread.
class PinwheelZoneSettings
{
public:
    static constexpr int kMaxCents = 50;
    enum Threshold { OuterFlat = 0, InnerFlat = 1, Center = 2, InnerSharp = 3, OuterSharp = 4 };

    // The settings' values. Each threshold is kept within 0..50, and a set out of order (a
    // hand-edited defaults file) is put in order the way steps of the center and inner values
    // would: the outer ones are raised to meet the inner ones.
    explicit PinwheelZoneSettings(const PinwheelThresholds &thresholds,
                                  const PinwheelColors &colors) noexcept;

    // Steps threshold `index` to `value`. Refused, changing nothing, when the value lies outside
    // the range the others allow (lowest(index) .. 50); otherwise stores it and raises whichever
    // outer thresholds now lie below it. Returns whether the step was taken.
    bool StepThreshold(int index, int value) noexcept;
    // The smallest value threshold `index` may take now.
    int lowest(int index) const noexcept;

    void SetColor(int zone, std::uint32_t colorRef) noexcept;

    const PinwheelThresholds &thresholds() const noexcept { return m_thresholds; }
    int threshold(int index) const noexcept { return int(m_thresholds[std::size_t(index)]); }
    const PinwheelColors &colors() const noexcept { return m_colors; }

    // True when the thresholds keep the order above.
    static bool InOrder(const PinwheelThresholds &t) noexcept;

    // The six zone boundaries of a strip `length` pixels long starting at x0 that shows
    // -50 (flat, left) .. +50 cents (sharp, right), left to right: at the outer flat, inner flat,
    // center-flat, center-sharp, inner sharp and outer sharp thresholds.
    std::array<int, 6> StripBoundaries(int x0, int length) const noexcept;

    friend bool operator==(const PinwheelZoneSettings &, const PinwheelZoneSettings &) = default;

private:
    void Raise(int index, int floor) noexcept;

    PinwheelThresholds m_thresholds {};
    PinwheelColors m_colors {};
};

} // namespace corvane::tuner
