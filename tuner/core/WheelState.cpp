#include "WheelState.h"

#include <algorithm>
#include <cmath>

namespace corvane::tuner {

namespace {

    constexpr Rgb kIdleFace = Rgb::gray(170);
    constexpr Rgb kIdleBlades = Rgb::gray(85);
    constexpr Rgb kChromaticBackground = Rgb::gray(60);
    constexpr Rgb kScaleBackground = Rgb::gray(200);

    // One channel of a holding wheel: the zone color weighted by what is left of the hold, plus
    // the idle gray weighted by what has run out. Each part is truncated as the original arithmetic
    // did, so a test can name the exact values.
    std::uint8_t Faded(std::uint8_t channel, double k, std::uint8_t gray) noexcept
    {
        const int value = int(channel * k) + int((1.0 - k) * gray);
        return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
    }

} // namespace

void WheelState::SetName(std::string_view name) noexcept
{
    m_nameLength = std::min(name.size(), m_name.size());
    std::copy_n(name.begin(), m_nameLength, m_name.begin());
}

int WheelState::Zone(double c, const PinwheelThresholds &t) noexcept
{
    const auto cents = [&t](int i) { return double(t[std::size_t(i)]); };
    if (c < -cents(4))
        return 6;
    if (c < -cents(3))
        return 5;
    if (c < -cents(2))
        return 4;
    if (c < cents(2))
        return 3;
    if (c < cents(1))
        return 2;
    if (c < cents(0))
        return 1;
    return 0;
}

int WheelState::RotationSteps(double c) noexcept
{
    const double off = std::abs(c);
    int steps = 0;
    if (off > 20.0)
        steps = 8;
    else if (off > 16.0)
        steps = 4;
    else if (off > 12.0)
        steps = 2;
    else if (off > 8.0)
        steps = 1;
    return c < 0.0 ? -steps : steps;
}

void WheelState::Rotate(double flatCents, Micros elapsed) noexcept
{
    constexpr std::int64_t turn = std::int64_t(kPhaseSteps) * kTurnPeriod.count();
    // Longer than a whole turn at the fastest speed changes nothing that shows.
    const std::int64_t time = std::min<std::int64_t>(elapsed.count(), turn);
    m_turn = ((m_turn + RotationSteps(flatCents) * time) % turn + turn) % turn;
}

void WheelState::Release() noexcept
{
    if (m_mode != Mode::Holding)
        return;
    m_mode = Mode::Idle;
    m_color = kOffColor;
    m_holdLeft = Micros { 0 };
    m_idle = false; // it changed: paint it once more
}

void WheelState::Step(int note, double flatCents, const PinwheelThresholds &thresholds,
                      Micros elapsed) noexcept
{
    elapsed = std::max(elapsed, Micros { 0 });
    const bool match = note == m_pitchClass;
    m_holdLeft = std::max(m_holdLeft - elapsed, Micros { 0 });
    m_idle = true;

    switch (m_mode) {
    case Mode::Idle:
        if (match) {
            m_mode = Mode::Active;
            m_idle = false;
        }
        break;
    case Mode::Active:
        if (!match) {
            m_mode = Mode::Holding;
            m_holdLeft = kHold;
        }
        m_idle = false;
        break;
    case Mode::Holding:
        if (match)
            m_mode = Mode::Active;
        else if (m_holdLeft <= Micros { 0 })
            m_mode = Mode::Idle;
        m_idle = false;
        break;
    }

    switch (m_mode) {
    case Mode::Idle:
        m_color = kOffColor;
        break;
    case Mode::Active:
        Rotate(flatCents, elapsed);
        m_color = Zone(flatCents, thresholds);
        m_lastCents = flatCents;
        break;
    case Mode::Holding:
        // Keeps turning at the speed of the last note heard, in the color it had.
        Rotate(m_lastCents, elapsed);
        break;
    }
}

WheelPicture WheelState::picture(const PinwheelColors &colors, bool chromatic) const
{
    WheelPicture p;
    if (m_color < 0 || m_color >= kPinwheelColorCount) {
        p.face = kIdleFace;
        p.blades = kIdleBlades;
    } else if (m_mode == Mode::Holding) {
        const Rgb zone = Rgb::fromColorRef(colors[std::size_t(m_color)]);
        const double k = double(m_holdLeft.count()) / double(kHold.count());
        p.face = { Faded(zone.red, k, kIdleFace.red), Faded(zone.green, k, kIdleFace.green),
                   Faded(zone.blue, k, kIdleFace.blue) };
        const std::uint8_t blade = Faded(0, k, kIdleBlades.red);
        p.blades = Rgb::gray(blade);
    } else {
        p.face = Rgb::fromColorRef(colors[std::size_t(m_color)]);
        p.blades = Rgb::gray(0);
    }
    p.background = chromatic ? kChromaticBackground : kScaleBackground;
    p.text = chromatic ? Rgb::gray(255) : Rgb::gray(0);
    p.phase = phase();
    p.name.assign(name());
    return p;
}

WheelState WheelState::Lit(int zone, int phase) noexcept
{
    WheelState w;
    w.m_mode = Mode::Active;
    w.m_color = std::clamp(zone, 0, kPinwheelColorCount - 1);
    w.m_turn =
            std::int64_t((phase % kPhaseSteps + kPhaseSteps) % kPhaseSteps) * kTurnPeriod.count();
    return w;
}

} // namespace corvane::tuner
