#pragma once

#include "CTCDefs.h"
#include "PinwheelZoneSettings.h"

#include <QDialog>

#include <array>

class QPushButton;

namespace corvane::widgets {
class UpDownControl;
}

namespace corvane::tuner {

class PinwheelWidget;
class PinwheelZoneStrip;

// "Select Pitchwheel Colors and Thresholds": the seven zone colors, each with a "Color..."
// button and a preview wheel above it, and the five cent thresholds under the strip of zones,
// each in a read-only field whose arrows refuse any step that would put the thresholds out of
// order. OK stores both colors and thresholds in the settings record; Cancel keeps the record
// as it was. Colors are chosen through widgets::colorChooser().
//
// UI thread only; `settings` must outlive the dialog.
class DlgConfigPinwheels : public QDialog
{
    Q_OBJECT

public:
    explicit DlgConfigPinwheels(CTCDefs &settings, QWidget *parent = nullptr);

    // What the dialog shows now (not yet stored).
    const PinwheelZoneSettings &zones() const noexcept { return m_zones; }
    // Threshold fields left to right: t0 (outer flat), t1, t2 ("+/-"), t3, t4 (outer sharp).
    widgets::UpDownControl *thresholdField(int index) const noexcept;
    // "Color..." buttons and previews, left to right from most flat to most sharp.
    QPushButton *colorButton(int zone) const noexcept
    {
        return m_colorButtons[std::size_t(zone)];
    }
    PinwheelWidget *preview(int zone) const noexcept { return m_previews[std::size_t(zone)]; }

    void accept() override;

private:
    void ChooseColor(int zone);
    void ShowZones();

    CTCDefs &m_settings;
    PinwheelZoneSettings m_zones;
    // Children of the dialog, which owns them.
    std::array<QPushButton *, kPinwheelColorCount> m_colorButtons {};
    std::array<PinwheelWidget *, kPinwheelColorCount> m_previews {};
    std::array<widgets::UpDownControl *, kPinwheelThresholdCount> m_fields {};
    PinwheelZoneStrip *m_strip = nullptr;
};

} // namespace corvane::tuner
