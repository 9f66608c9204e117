#pragma once

#include "WheelState.h"

#include <QWidget>

namespace corvane::tuner {

// The window of one pinwheel: paints the picture it was last given, nothing else. The owner
// decides what it shows (cPinwheelIndicator, the color dialog's previews).
//
// UI thread only.
class PinwheelWidget : public QWidget
{
    Q_OBJECT

public:
    explicit PinwheelWidget(QWidget *parent = nullptr);

    // Shows `picture`; repaints only when it differs from the one shown.
    void setPicture(const WheelPicture &picture);
    const WheelPicture &picture() const noexcept { return m_picture; }

    // The width the texts are sized for (0: the widget's own).
    void setFontWidth(int width);

    QSize sizeHint() const override { return { 80, 100 }; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    WheelPicture m_picture;
    int m_fontWidth = 0;
};

} // namespace corvane::tuner
