#pragma once

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace corvane {
class CPitch;
class CTCDefs;
class LiveAnalyzer;
class LiveRows;
class ReferenceMeasurer;
}

namespace corvane::dialogs {

// "Temperament Adjustment": the pitch reference (a') in Hz with its distance from 440 Hz, shown
// in whole cents when the dialog opens and to a thousandth while the user types. "Reset" puts
// back the reference the dialog opened with, "Restore defaults" puts 440 Hz in the field. OK
// checks the typed reference (refusing what is no frequency, asking about 50 cents or more) and
// moves the note table and the settings to it; Cancel changes nothing.
//
// "Listen" takes the reference from a played note (A4 unless another is chosen beside it): the
// dialog opens the capture device of the audio facade in the stored capture format, with a
// LiveAnalyzer as its block sink, and a timer on this thread takes the readings (the capture
// worker never waits for the dialog) and feeds a ReferenceMeasurer. Once the note has been held
// steadily for a second the dialog shows the measured frequency and the reference it gives and
// puts that reference into the field, refining it until two seconds are heard; OK then stores
// it as one typed. A reference outside 220 ... 880 Hz is refused with the field's own message.
// The device stops when the measurement is done, at "Stop", and when the dialog closes.
//
// UI thread only; `pitch` and `settings` must outlive the dialog.
class CDlgRef : public QDialog
{
    Q_OBJECT

public:
    CDlgRef(CPitch &pitch, CTCDefs &settings, QWidget *parent = nullptr);
    // Stops the capture device when it still listens.
    ~CDlgRef() override;

    QLineEdit *referenceField() const noexcept { return m_reference; }
    QLabel *centsLabel() const noexcept { return m_cents; }
    QPushButton *listenButton() const noexcept { return m_listen; }
    QComboBox *noteChoice() const noexcept { return m_note; }
    QLabel *measurementLabel() const noexcept { return m_measurement; }
    bool listening() const noexcept { return m_analyzer != nullptr; }

    void accept() override;
    void reject() override;

    // Takes what the capture worker has analyzed since the last call; the dialog's timer calls
    // it every 50 ms while listening (tests may call it themselves).
    void TakeReadings();

private:
    void Reset();
    void RestoreDefaults();
    void StartListening();
    void StopListening();
    void ShowMeasurement();

    CPitch &m_pitch;
    CTCDefs &m_settings;
    // Children of the dialog.
    QLineEdit *m_reference = nullptr;
    QLabel *m_cents = nullptr;
    QPushButton *m_listen = nullptr;
    QComboBox *m_note = nullptr;
    QLabel *m_measurement = nullptr;
    QTimer *m_poll = nullptr;
    // While listening: the capture device's sink (kept alive until the device stops), the rows
    // made of its readings and the measurement they feed.
    std::unique_ptr<LiveAnalyzer> m_analyzer;
    std::unique_ptr<LiveRows> m_rows;
    std::unique_ptr<ReferenceMeasurer> m_measurer;
};

} // namespace corvane::dialogs
