#pragma once

#include "CTCDefs.h"
#include "Rgb.h"

#include <array>
#include <chrono>
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
// color and its turn. Fed one tracking update at a time with the time since the one before, so
// that it turns and fades by the clock however often the display updates (five a second in the
// classic display, up to sixty in the smooth one).
//
// Cents here are the tuner's deviation from the tempered pitch with positive meaning FLAT (the
// reference lies above what was played): a flat note turns the wheel one way, a sharp note the
// other. The zones and the turn speed follow that sign.
//
// Time is counted in whole microseconds, so that a display updated every fifth of a second turns
// and fades by exactly the steps it always did.
//
// UI thread only; nothing here allocates except picture(), which copies the name.
class WheelState
{
public:
    enum class Mode : std::int32_t { Idle = 0, Active = 1, Holding = 2 };
    using Micros = std::chrono::microseconds;

    static constexpr int kPhaseSteps = 36; // a quarter turn; the four blades then look the same
    static constexpr int kOffColor = 7;
    // A wheel whose note stops keeps its color, fading, this long.
    static constexpr Micros kHold { 2'000'000 };
    // RotationSteps are the steps a wheel turns in this time.
    static constexpr Micros kTurnPeriod { 200'000 };
    static constexpr int kNoNote = -1; // the note of an update that heard nothing

    WheelState() noexcept = default;

    // One tracking update, `elapsed` after the one before (a negative time counts as none).
    // `note` is the A-based pitch class heard (0..11) or kNoNote; `flatCents` its deviation
    // (positive = flat), ignored unless the note is this wheel's. The thresholds are t0..t4 of
    // the settings, in cents. A lit wheel turns at the speed of its deviation for the elapsed
    // time; a holding wheel turns at the speed of the last note it heard and fades.
    void Step(int note, double flatCents, const PinwheelThresholds &thresholds,
              Micros elapsed) noexcept;
    // Ends a hold at once: the wheel goes idle, as when another note has taken over. A lit or
    // idle wheel stays as it is.
    void Release() noexcept;

    // The zone 0 (most flat) .. 6 (most sharp) of a deviation. In tune (zone 3) is strictly
    // inside +/-t2 on the sharp side and up to but not including t2 on the flat side.
    static int Zone(double flatCents, const PinwheelThresholds &thresholds) noexcept;
    // Phase steps a wheel turns by in a fifth of a second (kTurnPeriod): +8, +4, +2, +1 for more
    // than 20, 16, 12, 8 cents flat, the same negative for sharp, none within +/-8 cents.
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
    // What is left of the hold; zero unless holding.
    Micros holdLeft() const noexcept { return m_holdLeft; }
    // The turn in phase steps, 0 .. kPhaseSteps - 1.
    int phase() const noexcept { return int(m_turn / kTurnPeriod.count()); }

    // The A-based pitch class 0..11 this wheel stands for.
    int pitchClass() const noexcept { return m_pitchClass; }
    void SetPitchClass(int pitchClass) noexcept { m_pitchClass = pitchClass; }
    // The degree's name as written in the key, at most two characters (longer names are cut).
    std::string_view name() const noexcept { return { m_name.data(), m_nameLength }; }
    void SetName(std::string_view name) noexcept;

    // For the configuration dialog's previews: a lit wheel of one zone, standing still.
    static WheelState Lit(int zone, int phase) noexcept;

private:
    void Rotate(double flatCents, Micros elapsed) noexcept;

    Mode m_mode = Mode::Idle;
    int m_color = kOffColor;
    double m_lastCents = 0.0;
    bool m_idle = false;
    Micros m_holdLeft { 0 };
    // The turn in steps times microseconds, 0 .. kPhaseSteps * kTurnPeriod: a slow wheel moves
    // by a fraction of a step per update and shows the step it has reached.
    std::int64_t m_turn = 0;
    int m_pitchClass = 0;
    std::array<char, 2> m_name {};
    std::size_t m_nameLength = 0;
};

} // namespace corvane::tuner
