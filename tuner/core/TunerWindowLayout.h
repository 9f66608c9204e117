#pragma once

#include "PixelRect.h"

#include <array>

namespace corvane::tuner {

// The controls of the tuner window that the layout places (the wheels place themselves).
enum class TunerControl {
    // The panel under the wheels, at fixed offsets from its top (`wheelBottom`).
    PanelFrame,
    Readout,
    KeySpin,
    KeyDisplay,
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
    // "Reset" of the intonation table, under it at the panel's bottom right (expanded only).
    IntonationReset,
    // The readout: at the right of the expanded panel, across the band under the collapsed one,
    // and in place of the wheels in the large view.
    // The bottom row: the large view's switch and the lamp at the left, the buttons following
    // the right edge.
    LargeReadout,
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
// buttons; under the collapsed panel the readout takes the band the expanded one would fill. The
// window opens at its preferred size (the wheels a seventh of 1000 pixels wide) and may shrink to
// 940 by 496, so that it fits a 1920 by 1080 screen at twice the scale: the wheels shrink, never
// the controls. When the window grows, the wheels grow with it, the panel and the buttons move
// down by as much as the wheels' bottom moved, and the buttons keep their distance from the right
// edge. The wheels are given the height left over above the panel and the buttons, so no control
// is ever pushed out of the window. In the large view the readout takes the wheels' place.
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
    static constexpr int kMinClientWidth = 940;
    // The width the window opens with, where the wheels are laid out first.
    static constexpr int kPreferredClientWidth = 1000;
    // Two rows of wheels 100 pixels wide.
    static constexpr int kMinWheelHeight = 250;
    static constexpr int kLargeReadoutWidth = 110;
    static constexpr int kResetWidth = 48;
    static constexpr int kResetHeight = 24;

    // `wheelBottom` is where the wheels placed at the preferred width end.
    explicit TunerWindowLayout(int wheelBottom) noexcept;

    int minWidth() const noexcept { return m_minWidth; }
    int minHeight() const noexcept { return m_minHeight; }
    // The size the window opens with, when the screen has room for it.
    int preferredWidth() const noexcept { return kPreferredClientWidth; }
    int preferredHeight() const noexcept { return m_preferredHeight; }
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
    // The large view: the readout in place of the wheels.
    void setLarge(bool large) noexcept { m_large = large; }
    bool large() const noexcept { return m_large; }
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
    int m_preferredHeight;
    int m_firstWheelBottom;
    int m_wheelBottom;
    int m_width;
    bool m_expanded = false;
    bool m_large = false;
};

} // namespace corvane::tuner
