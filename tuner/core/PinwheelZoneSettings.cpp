#include "PinwheelZoneSettings.h"

#include <algorithm>

namespace corvane::tuner {

PinwheelZoneSettings::PinwheelZoneSettings(const PinwheelThresholds &thresholds,
                                           const PinwheelColors &colors) noexcept
    : m_colors(colors)
{
    for (std::size_t i = 0; i < m_thresholds.size(); ++i)
        m_thresholds[i] = std::min<std::uint32_t>(thresholds[i], kMaxCents);
    const int center = threshold(Center);
    Raise(InnerFlat, center);
    Raise(OuterFlat, threshold(InnerFlat));
    Raise(InnerSharp, center);
    Raise(OuterSharp, threshold(InnerSharp));
}

void PinwheelZoneSettings::Raise(int index, int floor) noexcept
{
    auto &t = m_thresholds[std::size_t(index)];
    if (int(t) < floor)
        t = std::uint32_t(floor);
}

int PinwheelZoneSettings::lowest(int index) const noexcept
{
    switch (index) {
    case Center:
        return 0;
    case InnerFlat:
    case InnerSharp:
        return threshold(Center);
    case OuterFlat:
        return threshold(InnerFlat);
    case OuterSharp:
        return threshold(InnerSharp);
    default:
        return kMaxCents + 1; // no such threshold: every step is refused
    }
}

bool PinwheelZoneSettings::StepThreshold(int index, int value) noexcept
{
    if (index < 0 || index >= kPinwheelThresholdCount || value < lowest(index) || value > kMaxCents)
        return false;
    m_thresholds[std::size_t(index)] = std::uint32_t(value);
    switch (index) {
    case Center:
        Raise(InnerSharp, value);
        Raise(OuterSharp, value);
        Raise(InnerFlat, value);
        Raise(OuterFlat, value);
        break;
    case InnerSharp:
        Raise(OuterSharp, value);
        break;
    case InnerFlat:
        Raise(OuterFlat, value);
        break;
    default:
        break;
    }
    return true;
}

void PinwheelZoneSettings::SetColor(int zone, std::uint32_t colorRef) noexcept
{
    if (zone >= 0 && zone < kPinwheelColorCount)
        m_colors[std::size_t(zone)] = colorRef & 0x00FFFFFF;
}

bool PinwheelZoneSettings::InOrder(const PinwheelThresholds &t) noexcept
{
    return t[2] <= t[1] && t[1] <= t[0] && t[0] <= kMaxCents && t[2] <= t[3] && t[3] <= t[4]
            && t[4] <= kMaxCents;
}

std::array<int, 6> PinwheelZoneSettings::StripBoundaries(int x0, int length) const noexcept
{
    const int middle = x0 + length / 2;
    const auto at = [length](int cents) { return cents * length / 100; };
    return { middle - at(threshold(OuterFlat)),  middle - at(threshold(InnerFlat)),
             middle - at(threshold(Center)),     middle + at(threshold(Center)),
             middle + at(threshold(InnerSharp)), middle + at(threshold(OuterSharp)) };
}

} // namespace corvane::tuner
