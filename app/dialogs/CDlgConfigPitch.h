#pragma once

#include <QDialog>

#include <array>
#include <functional>

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace corvane {
class CPitch;
class CTCDefs;
class KeyContext;
}

namespace corvane::widgets {
class UpDownControl;
}

namespace corvane::dialogs {

class DlgTemp;

// "Pitch Configuration - <syllable> (<spelling>)" for one scale degree: its temperament offset
// (a field with arrows that stop at -50 and +50 cents, and the tempered frequency beside it),
// the temperament list, the pitch reference, and the degree's reference tone: level, waveform
// and octave.
//
// OK checks the reference and then the offset (refusing what cannot be stored, asking about 50
// cents or more), and only when both pass stores the degree's offset (the temperament becomes
// "User Defined" when the arrows changed it), tone settings and the reference. Cancel stores
// nothing, except a temperament already chosen in the temperament list, which that list stored
// when it closed with OK.
//
// UI thread only; `pitch`, `settings` and `keys` must outlive the dialog.
class CDlgConfigPitch : public QDialog
{
    Q_OBJECT

public:
    // Runs the temperament list; the program shows it modally, tests answer it directly.
    using TemperamentListRunner = std::function<void(DlgTemp &)>;

    CDlgConfigPitch(int degree, CPitch &pitch, CTCDefs &settings, const KeyContext &keys,
                    QWidget *parent = nullptr);

    void setTemperamentListRunner(TemperamentListRunner runner) { m_runList = std::move(runner); }

    QLineEdit *adjustmentField() const noexcept { return m_adjust; }
    widgets::UpDownControl *adjustmentArrows() const noexcept { return m_arrows; }
    QLabel *frequencyLabel() const noexcept { return m_frequency; }
    QLineEdit *referenceField() const noexcept { return m_reference; }
    QLabel *centsLabel() const noexcept { return m_cents; }
    QSlider *levelSlider() const noexcept { return m_level; }
    QSlider *octaveSlider() const noexcept { return m_octave; }
    QAbstractButton *waveformButton(int index) const noexcept;
    QPushButton *button(const QString &objectName) const;

    void accept() override;

private:
    QWidget *MakePitchGroup();
    QWidget *MakeToneGroup();
    void LoadAdjustment();
    void ShowFrequency(double cents);
    void OpenTemperaments();
    void ResetReference();
    void RestoreStandard();

    int m_degree;
    CPitch &m_pitch;
    CTCDefs &m_settings;
    const KeyContext &m_keys;
    bool m_adjustChanged = false;
    QString m_loadedAdjustment;
    TemperamentListRunner m_runList;
    // Children of the dialog.
    QLineEdit *m_adjust = nullptr;
    widgets::UpDownControl *m_arrows = nullptr;
    QLabel *m_frequency = nullptr;
    QLineEdit *m_reference = nullptr;
    QLabel *m_cents = nullptr;
    QSlider *m_level = nullptr;
    QSlider *m_octave = nullptr;
    QButtonGroup *m_waveforms = nullptr;
};

} // namespace corvane::dialogs
