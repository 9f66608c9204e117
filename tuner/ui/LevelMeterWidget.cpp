#include "LevelMeterWidget.h"

#include "LevelMeterPainter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace corvane::tuner {

namespace {

    PixelRect Frame(const QWidget &w)
    {
        return { 0, 0, w.width(), w.height() };
    }

} // namespace

LevelMeterWidget::LevelMeterWidget(bool vertical, const QString &label1, const QString &label2,
                                   QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_meter.init(Frame(*this), vertical, 1.0, LevelMeter::kBarColor, LevelMeter::kPeakColor, 0,
                 label1.toStdString(), label2.toStdString());
    setLabels(label1, label2);
}

void LevelMeterWidget::Describe()
{
    const auto steps = [](double level) {
        return int(std::lround(std::clamp(level, 0.0, 1.0) * 20.0)) * 5;
    };
    const int level = steps(m_ballistics.value());
    const int peak = steps(m_ballistics.peak());
    if (level == m_spokenLevel && peak == m_spokenPeak)
        return;
    m_spokenLevel = level;
    m_spokenPeak = peak;
    setAccessibleDescription(QStringLiteral("%1 percent, peak %2 percent").arg(level).arg(peak));
}

void LevelMeterWidget::feed(double level, double elapsedSeconds)
{
    m_ballistics.add(level, elapsedSeconds);
    if (m_meter.needsRedraw(m_ballistics.value(), m_ballistics.peak())) {
        update();
        Describe();
    }
}

void LevelMeterWidget::setLabels(const QString &label1, const QString &label2)
{
    m_meter.setLabels(label1.toStdString(), label2.toStdString());
    // The whole signal's meter reads "full" over "signal"; a band's its upper edge over its
    // lower one, in Hz.
    setAccessibleName(m_meter.vertical()
                              ? QStringLiteral("Octave band from %1 to %2 Hz").arg(label1, label2)
                              : QStringLiteral("Signal level"));
    Describe();
    update();
}

QSize LevelMeterWidget::sizeHint() const
{
    return m_meter.vertical() ? QSize(36, 160) : QSize(240, 30);
}

QSize LevelMeterWidget::minimumSizeHint() const
{
    return m_meter.vertical() ? QSize(30, 60) : QSize(80, 26);
}

void LevelMeterWidget::resizeEvent(QResizeEvent *)
{
    m_meter.setFrame(Frame(*this));
}

void LevelMeterWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const LevelMeterPicture picture = m_meter.picture(m_ballistics.value(), m_ballistics.peak());
    PaintLevelMeter(painter, picture);
    m_meter.markDrawn(picture);
}

} // namespace corvane::tuner
