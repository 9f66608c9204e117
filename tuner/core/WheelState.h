#pragma once

#include "CTCDefs.h"
#include "Rgb.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::tuner {

// What one wheel shows, ready to paint: the colors, the turn and the name. The painter draws
// exactly this and decides nothing.
struct WheelPicture
{
    Rgb face;
    Rgb blades;
    Rgb background;
    Rgb text;      // "b<" and ">#"; the name is always white over a gray shadow
    int phase = 0; // 0..35, 2.5 degrees a step, counter-clockwise on the screen
    std::string name;
    // How in tune the degree has been played: the mean deviation in cents (positive = sharp),
    // drawn as a bar from the middle towards ">#" or "b<"; none before its note was heard.
    std::optional<double> meanCents;

    friend bool operator==(const WheelPicture &, const WheelPicture &) = default;
};

// One pinwheel: the scale degree it stands for, whether it is lit, holding or idle, its zone
// color and its turn. Fed one tracking update at a time (five a second in the tuner).
//
// Cents here are the tuner's deviation from the tempered pitch with positive meaning FLAT (the
// reference lies above what was played): a flat note turns the wheel one way, a sharp note the
// other. The zones and the turn speed follow that sign.
//
// UI thread only; nothing here allocates except picture(), which copies the name.
class WheelState
{
public:
    enum class Mode : std::int32_t { Idle = 0, Active = 1, Holding = 2 };

    static constexpr int kPhaseSteps = 36; // a quarter turn; the four blades then look the same
    static constexpr int kOffColor = 7;
    static constexpr int kDefaultRate = 5; // updates a second
    static constexpr int kHoldSeconds = 2;
    static constexpr int kNoNote = -1; // the note of an update that heard nothing

    WheelState() noexcept = default;

    // Updates a second; the hold lasts two seconds of them. A rate below 1 is taken as 1, so the
    // hold always lasts at least one update and the fade never divides by zero.
    void SetRate(int updatesPerSecond) noexcept;

    // One tracking update. `note` is the A-based pitch class heard (0..11) or kNoNote; `flatCents`
    // its deviation (positive = flat), ignored unless the note is this wheel's. The thresholds are
    // t0..t4 of the settings, in cents.
    void Step(int note, double flatCents, const PinwheelThresholds &thresholds) noexcept;

    // The zone 0 (most flat) .. 6 (most sharp) of a deviation. In tune (zone 3) is strictly
    // inside +/-t2 on the sharp side and up to but not including t2 on the flat side.
    static int Zone(double flatCents, const PinwheelThresholds &thresholds) noexcept;
    // Phase steps one update turns by: +8, +4, +2, +1 for more than 20, 16, 12, 8 cents flat,
    // the same negative for sharp, none within +/-8 cents.
    static int RotationSteps(double flatCents) noexcept;

    // The picture this wheel shows with the zone colors of the settings, on the background of a
    // chromatic degree (dark) or a scale degree (light). A holding wheel fades linearly from its
    // zone color to the idle grays over the hold.
    WheelPicture picture(const PinwheelColors &colors, bool chromatic) const;

    Mode mode() const noexcept { return m_mode; }
    int color() const noexcept { return m_color; }
    double lastCents() const noexcept { return m_lastCents; }
    // True when the last update left the wheel idle and unchanged: nothing to redraw.
    bool idle() const noexcept { return m_idle; }
    int holdLeft() const noexcept { return m_holdLeft; }
    int holdLength() const noexcept { return m_holdLength; }
    int phase() const noexcept { return m_phase; }
    int rate() const noexcept { return m_rate; }

    // The A-based pitch class 0..11 this wheel stands for.
    int pitchClass() const noexcept { return m_pitchClass; }
    void SetPitchClass(int pitchClass) noexcept { m_pitchClass = pitchClass; }
    // The degree's name as written in the key, at most two characters (longer names are cut).
    std::string_view name() const noexcept { return { m_name.data(), m_nameLength }; }
    void SetName(std::string_view name) noexcept;

    // For the configuration dialog's previews: a lit wheel of one zone, standing still.
    static WheelState Lit(int zone, int phase) noexcept;

private:
    void Rotate(double flatCents) noexcept;

    Mode m_mode = Mode::Idle;
    int m_color = kOffColor;
    double m_lastCents = 0.0;
    bool m_idle = false;
    int m_holdLeft = 0;
    int m_holdLength = kDefaultRate * kHoldSeconds;
    int m_phase = 0;
    int m_pitchClass = 0;
    int m_rate = kDefaultRate;
    std::array<char, 2> m_name {};
    std::size_t m_nameLength = 0;
};

} // namespace corvane::tuner
