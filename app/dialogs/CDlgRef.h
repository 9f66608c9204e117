#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace corvane {
class CPitch;
class CTCDefs;
}

namespace corvane::dialogs {

// "Temperament Adjustment": the pitch reference (a') in Hz with its distance from 440 Hz, shown
// in whole cents when the dialog opens and to a thousandth while the user types. "Reset" puts
// back the reference the dialog opened with, "Restore defaults" puts 440 Hz in the field. OK
// checks the typed reference (refusing what is no frequency, asking about 50 cents or more) and
// moves the note table and the settings to it; Cancel changes nothing.
//
// UI thread only; `pitch` and `settings` must outlive the dialog.
class CDlgRef : public QDialog
{
    Q_OBJECT

public:
    CDlgRef(CPitch &pitch, CTCDefs &settings, QWidget *parent = nullptr);

    QLineEdit *referenceField() const noexcept { return m_reference; }
    QLabel *centsLabel() const noexcept { return m_cents; }

    void accept() override;

private:
    void Reset();
    void RestoreDefaults();

    CPitch &m_pitch;
    CTCDefs &m_settings;
    // Children of the dialog.
    QLineEdit *m_reference = nullptr;
    QLabel *m_cents = nullptr;
};

} // namespace corvane::dialogs
