#include "TunerWindowLayout.h"

#include <algorithm>

namespace corvane::tuner {

namespace {

    // The bottom row lies under the expanded panel, so expanding never covers it.
    constexpr int kRowTop = TunerWindowLayout::kExpandedPanel + TunerWindowLayout::kMargin;
    constexpr int kBelowWheels =
            kRowTop + TunerWindowLayout::kButtonHeight + TunerWindowLayout::kMargin;
    // The buttons of the bottom row from the left: "More...", "Record", "Pause", "Stop",
    // "Cancel", "Exit", "Review".
    constexpr int kRowButtons = 7;

} // namespace

TunerWindowLayout::TunerWindowLayout(int wheelBottom) noexcept
    : m_minWidth(kMinClientWidth)
    , m_minHeight(kMinWheelHeight + kBelowWheels)
    , m_preferredHeight(std::max(wheelBottom, kMinWheelHeight) + kBelowWheels)
    , m_firstWheelBottom(std::max(wheelBottom, 0))
    , m_wheelBottom(m_firstWheelBottom)
    , m_width(kMinClientWidth)
{
}

int TunerWindowLayout::clampWidth(int width) const noexcept
{
    return std::max(width, m_minWidth);
}

int TunerWindowLayout::clampHeight(int height) const noexcept
{
    return std::max(height, m_minHeight);
}

PixelRect TunerWindowLayout::wheelArea(int width, int height) const noexcept
{
    return { 0, 0, clampWidth(width), clampHeight(height) - kBelowWheels };
}

void TunerWindowLayout::resized(int width, int wheelBottom) noexcept
{
    m_width = clampWidth(width);
    m_wheelBottom = std::max(wheelBottom, 0);
}

PixelRect TunerWindowLayout::inPanel(int left, int top, int right, int bottom) const noexcept
{
    return { left, m_wheelBottom + top, right, m_wheelBottom + bottom };
}

PixelRect TunerWindowLayout::inButtonRow(int index) const noexcept
{
    const int right = m_width - kMargin - (kRowButtons - 1 - index) * (kButtonWidth + kButtonGap);
    const int top = m_wheelBottom + kRowTop;
    return { right - kButtonWidth, top, right, top + kButtonHeight };
}

PixelRect TunerWindowLayout::rect(TunerControl control) const noexcept
{
    switch (control) {
    case TunerControl::PanelFrame:
        return inPanel(0, 0, m_width, panelHeight());
    case TunerControl::KeySpin:
        return inPanel(5, 4, 20, 40);
    case TunerControl::KeyDisplay:
        return inPanel(4, 4, 260, 42);
    case TunerControl::Readout:
        if (m_large)
            return { kMargin, 4, m_width - kMargin, std::max(m_wheelBottom - 4, 4) };
        if (m_expanded)
            return inPanel(765, 4, m_width - 6, 42);
        return inPanel(kMargin, kCollapsedPanel + 6, m_width - kMargin, kRowTop - 6);
    case TunerControl::FullMeter:
        return inPanel(260, 4, 520, 42);
    case TunerControl::CaptureFormat:
        return inPanel(4, 150, 250, 198);
    case TunerControl::Transpose:
        return inPanel(148, 48, 248, 68);
    case TunerControl::Optimize:
        return inPanel(148, 74, 248, 94);
    case TunerControl::Pitchwheels:
        return inPanel(148, 100, 248, 120);
    case TunerControl::Soundcard:
        return inPanel(148, 126, 248, 146);
    case TunerControl::MicSlider:
        return inPanel(580, 4, 620, 139);
    case TunerControl::MicLabel:
        return inPanel(580, 139, 620, 157);
    case TunerControl::SynthSlider:
        return inPanel(625, 4, 665, 139);
    case TunerControl::SynthLabel:
        return inPanel(625, 139, 665, 157);
    case TunerControl::RunClock:
        return inPanel(675, 4, 745, 29);
    case TunerControl::ActiveClock:
        return inPanel(675, 39, 745, 64);
    case TunerControl::CaptureLoad:
        return inPanel(675, 75, 705, 135);
    case TunerControl::PlaybackLoad:
        return inPanel(715, 75, 745, 135);
    case TunerControl::CaptureLoadCaption:
        return inPanel(675, 139, 715, 157);
    case TunerControl::PlaybackLoadCaption:
        return inPanel(715, 139, 755, 157);
    case TunerControl::IntonationReset:
        return inPanel(m_width - 6 - kResetWidth, kExpandedPanel - 4 - kResetHeight, m_width - 6,
                       kExpandedPanel - 4);
    case TunerControl::LargeReadout: {
        const PixelRect row = inButtonRow(0);
        return { kMargin + 112, row.top, kMargin + 112 + kLargeReadoutWidth, row.bottom };
    }
    case TunerControl::LampCaption: {
        const PixelRect row = inButtonRow(0);
        return { kMargin, row.top, kMargin + 70, row.bottom };
    }
    case TunerControl::Lamp: {
        const PixelRect row = inButtonRow(0);
        return { kMargin + 74, row.top + 5, kMargin + 74 + 28, row.bottom - 5 };
    }
    case TunerControl::More:
    case TunerControl::Record:
    case TunerControl::Pause:
    case TunerControl::Stop:
    case TunerControl::Cancel:
    case TunerControl::Exit:
    case TunerControl::Review:
        return inButtonRow(int(control) - int(TunerControl::More));
    }
    return {};
}

bool TunerWindowLayout::visible(TunerControl control) const noexcept
{
    switch (control) {
    case TunerControl::FullMeter:
        return !m_expanded;
    case TunerControl::CaptureFormat:
    case TunerControl::Transpose:
    case TunerControl::Optimize:
    case TunerControl::Pitchwheels:
    case TunerControl::Soundcard:
    case TunerControl::MicSlider:
    case TunerControl::MicLabel:
    case TunerControl::SynthSlider:
    case TunerControl::SynthLabel:
    case TunerControl::RunClock:
    case TunerControl::ActiveClock:
    case TunerControl::CaptureLoad:
    case TunerControl::PlaybackLoad:
    case TunerControl::CaptureLoadCaption:
    case TunerControl::PlaybackLoadCaption:
    case TunerControl::IntonationReset:
        return m_expanded;
    default:
        return true;
    }
}

PixelRect TunerWindowLayout::bandMeter(int index) const noexcept
{
    const int left = 260 + 38 * std::clamp(index, 0, 7);
    return inPanel(left, 4, left + 38, 156);
}

PixelRect TunerWindowLayout::modeRadio(int index) const noexcept
{
    const int top = 55 + 15 * std::clamp(index, 0, 3);
    return inPanel(5, top, 143, top + 14);
}

} // namespace corvane::tuner
