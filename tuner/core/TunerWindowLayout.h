#pragma once

#include "PixelRect.h"

#include <array>

namespace corvane::tuner {

// The controls of the tuner window that the layout places (the wheels place themselves).
enum class TunerControl {
    // The panel under the wheels, at fixed offsets from its top (`wheelBottom`).
    PanelFrame,
    KeySpin,
    KeyDisplay,
    Readout,
    FullMeter,
    CaptureFormat,
    Transpose,
    Optimize,
    Pitchwheels,
    Soundcard,
    MicSlider,
    MicLabel,
    SynthSlider,
    SynthLabel,
    RunClock,
    ActiveClock,
    CaptureLoad,
    PlaybackLoad,
    CaptureLoadCaption,
    PlaybackLoadCaption,
    // The bottom row: the lamp at the left, the buttons following the right edge.
    LampCaption,
    Lamp,
    More,
    Record,
    Pause,
    Stop,
    Cancel,
    Exit,
    Review,
};
inline constexpr int kTunerControlCount = int(TunerControl::Review) + 1;

// Where every control of the tuner window goes, in client pixels.
//
// The wheels fill the top; under them lies the panel, 45 pixels high collapsed (key display and
// the signal meter) and 200 expanded (every control), and under the expanded panel the row of
// buttons. The smallest client size is the one the window opens with. When the window grows,
// the wheels grow with it, the panel and the buttons move down by as much as the wheels' bottom
// moved, and the buttons keep their distance from the right edge. The wheels are given the height
// left over above the panel and the buttons, so no control is ever pushed out of the window.
//
// A plain value; user-interface thread.
class TunerWindowLayout
{
public:
    static constexpr int kCollapsedPanel = 45;
    static constexpr int kExpandedPanel = 200;
    static constexpr int kButtonWidth = 80;
    static constexpr int kButtonHeight = 26;
    static constexpr int kButtonGap = 6;
    static constexpr int kMargin = 10;
    // Wide enough for every panel control and the numeric readout at the right of the panel.
    static constexpr int kMinClientWidth = 1000;

    // `wheelBottom` is where the wheels placed at the smallest width end.
    explicit TunerWindowLayout(int wheelBottom) noexcept;

    int minWidth() const noexcept { return m_minWidth; }
    int minHeight() const noexcept { return m_minHeight; }
    // Never below the smallest size.
    int clampWidth(int width) const noexcept;
    int clampHeight(int height) const noexcept;

    // The area the wheels may take at a client size (clamped first): the full width, and the
    // height less the room the panel and the buttons need.
    PixelRect wheelArea(int width, int height) const noexcept;
    // After the wheels were laid out again: the client width (clamped) and where they now end.
    void resized(int width, int wheelBottom) noexcept;

    void setExpanded(bool expanded) noexcept { m_expanded = expanded; }
    bool expanded() const noexcept { return m_expanded; }
    int panelHeight() const noexcept { return m_expanded ? kExpandedPanel : kCollapsedPanel; }
    int wheelBottom() const noexcept { return m_wheelBottom; }
    int width() const noexcept { return m_width; }

    PixelRect rect(TunerControl control) const noexcept;
    // Whether a control shows with the panel as it is now.
    bool visible(TunerControl control) const noexcept;
    // Octave-band meter 0 ... 7, lowest band on the left (expanded only).
    PixelRect bandMeter(int index) const noexcept;
    // "Major", "Natural Minor", "Harmonic Minor", "Melodic Minor" (expanded only).
    PixelRect modeRadio(int index) const noexcept;

private:
    PixelRect inPanel(int left, int top, int right, int bottom) const noexcept;
    PixelRect inButtonRow(int index) const noexcept;

    int m_minWidth;
    int m_minHeight;
    int m_firstWheelBottom;
    int m_wheelBottom;
    int m_width;
    bool m_expanded = false;
};

} // namespace corvane::tuner
