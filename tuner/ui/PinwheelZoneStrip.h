#pragma once

#include "PinwheelZoneSettings.h"

#include <QWidget>

namespace corvane::tuner {

// The color dialog's strip: -50 cents (flat) at the left to +50 (sharp) at the right, each
// zone filled with its color between the thresholds' boundaries, and a line at the center.
//
// UI thread only.
class PinwheelZoneStrip : public QWidget
{
    Q_OBJECT

public:
    explicit PinwheelZoneStrip(QWidget *parent = nullptr);

    void setZones(const PinwheelZoneSettings &zones);

    QSize sizeHint() const override { return { 420, 18 }; }
    QSize minimumSizeHint() const override { return { 100, 12 }; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    PinwheelZoneSettings m_zones { CTCDefs().GetPinwheelThresholds(),
                                   CTCDefs().GetPinwheelColors() };
};

} // namespace corvane::tuner
