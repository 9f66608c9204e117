#include "CDlgRef.h"

#include "AnalysisSettings.h"
#include "AudioDevices.h"
#include "BlockLength.h"
#include "CPitch.h"
#include "CTCDefs.h"
#include "KeyContext.h"
#include "LiveAnalyzer.h"
#include "LiveRows.h"
#include "NoteLookup.h"
#include "PitchDialogRules.h"
#include "ReferenceConfirmation.h"
#include "ReferenceMeasurer.h"
#include "Tuning.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace corvane::dialogs {

namespace {

    QString Text(const std::string &text)
    {
        return QString::fromStdString(text);
    }

    constexpr int kA4 = 48;
    // The notes offered for Listen: A1 to C8, the range of the instruments that give an A.
    constexpr int kLowestListenNote = 12;
    constexpr int kHighestListenNote = 87;
    constexpr int kPollMilliseconds = 50;

} // namespace

CDlgRef::CDlgRef(CPitch &pitch, CTCDefs &settings, QWidget *parent)
    : QDialog(parent)
    , m_pitch(pitch)
    , m_settings(settings)
{
    setWindowTitle(QStringLiteral("Temperament Adjustment"));

    // Every widget is a child of the dialog through the layouts.
    auto *group = new QGroupBox(QStringLiteral("Temperament Adjustment"), this);
    auto *grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("Reference adjustment:"), group), 0, 0);
    m_reference = new QLineEdit(group);
    m_reference->setObjectName(QStringLiteral("reference"));
    m_reference->setMaximumWidth(80);
    grid->addWidget(m_reference, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Hz"), group), 0, 2);
    m_cents = new QLabel(group);
    m_cents->setObjectName(QStringLiteral("cents"));
    m_cents->setMinimumWidth(80);
    grid->addWidget(m_cents, 0, 3);

    auto *reset = new QPushButton(QStringLiteral("Reset"), group);
    reset->setObjectName(QStringLiteral("reset"));
    reset->setAutoDefault(false);
    auto *restore = new QPushButton(QStringLiteral("Restore defaults"), group);
    restore->setObjectName(QStringLiteral("restoreDefaults"));
    restore->setAutoDefault(false);
    grid->addWidget(reset, 1, 1);
    grid->addWidget(restore, 1, 2, 1, 2);

    m_listen = new QPushButton(QStringLiteral("&Listen"), group);
    m_listen->setObjectName(QStringLiteral("listen"));
    m_listen->setAutoDefault(false);
    m_listen->setToolTip(QStringLiteral("Play the note chosen beside it: the reference is taken "
                                        "from it"));
    m_note = new QComboBox(group);
    m_note->setObjectName(QStringLiteral("note"));
    for (int note = kLowestListenNote; note <= kHighestListenNote; ++note)
        m_note->addItem(Text(noteNameInCMajor(note)), note);
    m_note->setCurrentIndex(kA4 - kLowestListenNote);
    m_measurement = new QLabel(group);
    m_measurement->setObjectName(QStringLiteral("measurement"));
    m_measurement->setMinimumWidth(260);
    m_measurement->setWordWrap(true);
    grid->addWidget(m_listen, 2, 0);
    grid->addWidget(m_note, 2, 1);
    grid->addWidget(m_measurement, 3, 0, 1, 4);
    m_poll = new QTimer(this);
    m_poll->setInterval(kPollMilliseconds);
    connect(m_poll, &QTimer::timeout, this, &CDlgRef::TakeReadings);
    connect(m_listen, &QPushButton::clicked, this,
            [this] { listening() ? StopListening() : StartListening(); });

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);

    connect(reset, &QPushButton::clicked, this, &CDlgRef::Reset);
    connect(restore, &QPushButton::clicked, this, &CDlgRef::RestoreDefaults);
    connect(m_reference, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_cents->setText(Text(ReferenceDistanceTypingText(TypedReference(text))));
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgRef::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgRef::reject);

    Reset();
}

void CDlgRef::Reset()
{
    const double hz = m_settings.GetReferenceHz();
    m_reference->setText(QString::number(hz, 'f', 3));
    m_cents->setText(Text(ReferenceDistanceText(hz)));
}

void CDlgRef::RestoreDefaults()
{
    m_reference->setText(QString::fromLatin1(kStandardReferenceText));
    m_cents->setText(QString::fromLatin1(kZeroCentsText));
}

CDlgRef::~CDlgRef()
{
    StopListening();
}

void CDlgRef::StartListening()
{
    const int note = m_note->currentData().toInt();
    const KeyContext keys(m_settings);
    const double offset = m_settings.GetPitchAdjustCents()[std::size_t(keys.DegreeOfNote(note))];
    const SampleFormat capture = m_settings.GetCaptureFormat();
    const PcmFormat format { blockLengthForRate(capture.sampleRate), capture };
    audio::AudioDevices &devices = audio::AudioDevices::instance();
    try {
        m_analyzer = std::make_unique<LiveAnalyzer>(format, AnalysisSettings::from(m_settings));
    } catch (const std::exception &) {
        m_measurement->setText(QStringLiteral("The stored capture format cannot be analyzed; "
                                              "choose another with \"Soundcard...\"."));
        return;
    }
    const AnalysisSettings used = AnalysisSettings::from(m_settings);
    m_rows = std::make_unique<LiveRows>(format.sampleRate, used.noiseThreshold, m_pitch.Reference(),
                                        m_analyzer->delaySeconds());
    m_measurer = std::make_unique<ReferenceMeasurer>(note, offset, m_pitch.Reference());
    devices.setCaptureFormat(capture, m_analyzer->hopFrames());
    std::string why;
    if (!devices.openCapture(*m_analyzer) || !devices.startCapture(false, &why)) {
        devices.stopCapture();
        m_analyzer.reset();
        m_measurement->setText(why.empty() ? QStringLiteral("The sound device would not open.")
                                           : Text(why));
        return;
    }
    m_listen->setText(QStringLiteral("&Stop"));
    m_note->setEnabled(false);
    m_poll->start();
    ShowMeasurement();
}

void CDlgRef::StopListening()
{
    if (!m_analyzer)
        return;
    m_poll->stop();
    // The worker is joined here; only then may the sink go.
    audio::AudioDevices::instance().stopCapture();
    m_analyzer.reset();
    m_listen->setText(QStringLiteral("&Listen"));
    m_note->setEnabled(true);
}

void CDlgRef::TakeReadings()
{
    if (!m_analyzer)
        return;
    BlockReading reading;
    while (!m_measurer->done() && m_analyzer->take(reading)) {
        if (const auto row = m_rows->add(reading))
            m_measurer->add(row->pitchHz, row->stable, m_analyzer->blockSeconds());
    }
    ShowMeasurement();
    if (m_measurer->done())
        StopListening();
}

void CDlgRef::ShowMeasurement()
{
    const QString name = m_note->currentText();
    switch (m_measurer->state()) {
    case ReferenceMeasurer::State::Listening:
        m_measurement->setText(QStringLiteral("Play %1 and hold it...").arg(name));
        return;
    case ReferenceMeasurer::State::Settling:
        m_measurement->setText(QStringLiteral("Hearing %1; hold it...").arg(name));
        return;
    case ReferenceMeasurer::State::OutOfRange:
        m_measurement->setText(
                QStringLiteral("%1 at %2 Hz: %3")
                        .arg(name)
                        .arg(m_measurer->measuredHz(), 0, 'f', 2)
                        .arg(QString::fromLatin1(kInvalidReferenceText.data(),
                                                 qsizetype(kInvalidReferenceText.size()))));
        return;
    case ReferenceMeasurer::State::Measured:
        break;
    }
    const double reference = m_measurer->referenceHz();
    QString text = QStringLiteral("%1 measured at %2 Hz: reference %3 Hz")
                           .arg(name)
                           .arg(m_measurer->measuredHz(), 0, 'f', 2)
                           .arg(reference, 0, 'f', 3);
    // The player may wonder why an A at 441.3 Hz does not give 441.3 Hz.
    const double offset = m_measurer->noteOffsetCents();
    if (std::abs(offset) >= 0.05)
        text += QStringLiteral(", %1 lying %2 cents from equal temperament in %3")
                        .arg(name)
                        .arg(offset, 0, 'f', 1)
                        .arg(QString::fromStdString(m_settings.GetTemperamentName()));
    if (!m_measurer->done())
        text += QStringLiteral(" (still listening)");
    m_measurement->setText(text);
    m_reference->setText(QString::number(reference, 'f', 3));
    m_cents->setText(Text(ReferenceDistanceTypingText(reference)));
}

void CDlgRef::reject()
{
    StopListening();
    QDialog::reject();
}

void CDlgRef::accept()
{
    StopListening();
    const std::optional<double> typed = TypedReference(m_reference->text());
    if (!ConfirmReference(this, typed))
        return;
    const double hz = *typed;
    ChangeReference(m_pitch, m_settings, hz);
    QDialog::accept();
}

} // namespace corvane::dialogs
