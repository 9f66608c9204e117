#pragma once

#include "PinwheelBoard.h"
#include "PinwheelPlacement.h"
#include "cPitchIndicator.h"

#include <QObject>

#include <array>

class QPushButton;
class QToolButton;

namespace corvane {
class CPitch;
class CTCDefs;
class KeyContext;
}

namespace corvane::tuner {

class PinwheelWidget;

// The twelve pinwheels of the tuner window, laid out as one octave of a keyboard (the scale's
// degrees below, the others above), each with a "More..." button that asks for the degree's
// pitch configuration and a tone button that switches its reference tone. Each wheel also shows
// how in tune its degree has been played since the tuner started: a bar for the mean deviation
// and a tooltip with the figures; its context menu resets the figures of all twelve.
//
// Reads the note table, key context and settings it was given at every update and paint, so a
// change of colors, thresholds, key or temperament shows at the next one; they must outlive
// the indicator. UI thread only.
//
// Widgets made by Create are children of the tuner window, which owns and deletes them; the
// indicator must not outlive that window once Create has run.
class cPinwheelIndicator : public QObject, public cPitchIndicator
{
    Q_OBJECT

public:
    cPinwheelIndicator(const CPitch &pitch, const KeyContext &keys, const CTCDefs &settings,
                       QObject *parent = nullptr);

    void SetClassic(bool classic) override;
    void Update(QWidget &parent, double f, double level, std::chrono::microseconds elapsed,
                bool fresh) override;
    void Draw(QWidget &parent, const QRegion &region) override;
    void Refresh(QWidget &parent) override;
    void Relabel() override;
    void Layout(QWidget &parent, QRect &area) override;
    void Create(QWidget &parent, QRect &area) override;
    void SetTone(int degree, bool on) override;

    // True once Create has made the widgets.
    bool IsVisible() const noexcept { return m_visible; }

    const PinwheelBoard &board() const noexcept { return m_board; }
    // The widgets of a degree 0..11; null before Create.
    PinwheelWidget *wheel(int degree) const noexcept { return m_wheels[std::size_t(degree)]; }
    QPushButton *nameButton(int degree) const noexcept
    {
        return m_nameButtons[std::size_t(degree)];
    }
    QToolButton *toneButton(int degree) const noexcept
    {
        return m_toneButtons[std::size_t(degree)];
    }
    bool toneOn(int degree) const noexcept { return m_toneOn[std::size_t(degree)]; }
    int iconSize() const noexcept { return m_iconSize; }

    // Forgets how in tune every degree has been played, and shows it.
    void ResetIntonation();
    // Hides the wheels and their buttons (the tuner's large view) or shows them again; the
    // board goes on following the pitch either way. After Create.
    void ShowWheels(bool shown);

signals:
    // The user asked for the pitch configuration of `degree` ("More...").
    void pitchConfigRequested(int degree);
    // The user pressed the tone button of `degree`; the tuner switches the tone and calls SetTone.
    void toneToggleRequested(int degree);

private:
    void Place(const PinwheelPlacement &placement);
    void ShowWheel(int degree);
    void ShowToneIcon(int degree);

    const CPitch &m_pitch;
    const KeyContext &m_keys;
    const CTCDefs &m_settings;
    PinwheelBoard m_board;
    bool m_visible = false;
    std::array<bool, kDegreeCount> m_toneOn {};
    int m_iconSize = 16;
    // Children of the tuner window, which owns them.
    std::array<PinwheelWidget *, kDegreeCount> m_wheels {};
    std::array<QPushButton *, kDegreeCount> m_nameButtons {};
    std::array<QToolButton *, kDegreeCount> m_toneButtons {};
};

} // namespace corvane::tuner
