#pragma once

#include "LevelBallistics.h"
#include "LevelMeter.h"

#include <QWidget>

namespace corvane::tuner {

// One level meter window: feeds go through the meter's ballistics, and the widget repaints only
// when the bar or the peak marker moves by a pixel. Horizontal for the whole signal ("full" over
// "signal"), vertical for an octave band (its edges in Hz underneath).
//
// UI thread only.
class LevelMeterWidget : public QWidget
{
    Q_OBJECT

public:
    // The tuner's ballistics: a two-second hold, a two-second fall, by the clock.
    LevelMeterWidget(bool vertical, const QString &label1, const QString &label2,
                     QWidget *parent = nullptr);

    // One feed of the level, 0.0 .. 1.0 (full scale), `elapsedSeconds` after the one before.
    void feed(double level, double elapsedSeconds);
    // label1 is the lower label, label2 the upper one.
    void setLabels(const QString &label1, const QString &label2);

    double value() const noexcept { return m_ballistics.value(); }
    double peak() const noexcept { return m_ballistics.peak(); }
    const LevelMeter &meter() const noexcept { return m_meter; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // What a screen reader hears: the meter's name from its labels, the level and the peak in
    // steps of five percent (so the text changes no more often than a listener can follow).
    void Describe();

    LevelMeter m_meter;
    int m_spokenLevel = -1;
    int m_spokenPeak = -1;
    LevelBallistics m_ballistics { 2.0, 2.0, 1.0 };
};

} // namespace corvane::tuner
