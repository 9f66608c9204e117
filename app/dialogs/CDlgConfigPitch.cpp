#include "CDlgConfigPitch.h"

#include "CPitch.h"
#include "CTCDefs.h"
#include "DlgTemp.h"
#include "KeyContext.h"
#include "MusicIcons.h"
#include "PitchDialogRules.h"
#include "ReferenceConfirmation.h"
#include "ToneDialogRules.h"
#include "Tuning.h"
#include "UpDownControl.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace corvane::dialogs {

namespace {

    QString Text(std::string_view text)
    {
        return QString::fromUtf8(text.data(), qsizetype(text.size()));
    }

    QPushButton *Button(const QString &text, const QString &name, QWidget *parent)
    {
        auto *button = new QPushButton(text, parent);
        button->setObjectName(name);
        button->setAutoDefault(false);
        return button;
    }

    QSlider *VerticalSlider(int minimum, int maximum, int tick, const QString &name,
                            QWidget *parent)
    {
        auto *slider = new QSlider(Qt::Vertical, parent);
        slider->setObjectName(name);
        slider->setRange(minimum, maximum);
        // Position `minimum` at the top, as the stored conversions expect.
        slider->setInvertedAppearance(true);
        slider->setInvertedControls(true);
        slider->setTickPosition(QSlider::TicksRight);
        slider->setTickInterval(tick);
        slider->setPageStep(tick);
        return slider;
    }

} // namespace

CDlgConfigPitch::CDlgConfigPitch(int degree, CPitch &pitch, CTCDefs &settings,
                                 const KeyContext &keys, QWidget *parent)
    : QDialog(parent)
    , m_degree(IsDegree(degree) ? degree : 0)
    , m_pitch(pitch)
    , m_settings(settings)
    , m_keys(keys)
    , m_runList([](DlgTemp &list) { list.exec(); })
{
    setWindowTitle(QStringLiteral("Pitch Configuration - %1 (%2)")
                           .arg(Text(DegreeSyllable(m_degree)), Text(keys.SpellDegree(m_degree))));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(MakePitchGroup());
    layout->addWidget(MakeToneGroup());
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgConfigPitch::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgConfigPitch::reject);

    LoadAdjustment();
    ResetReference();
}

QWidget *CDlgConfigPitch::MakePitchGroup()
{
    // Every widget is a child of the group through its layout; the group is the dialog's.
    auto *group = new QGroupBox(QStringLiteral("Pitch reference"), this);
    auto *grid = new QGridLayout(group);

    grid->addWidget(new QLabel(QStringLiteral("Individual pitch adjustment:"), group), 0, 0);
    auto *adjustBox = new QHBoxLayout;
    adjustBox->setSpacing(0);
    m_adjust = new QLineEdit(group);
    m_adjust->setObjectName(QStringLiteral("adjustment"));
    m_adjust->setMaximumWidth(60);
    m_arrows = new widgets::UpDownControl(group);
    m_arrows->setObjectName(QStringLiteral("adjustmentArrows"));
    m_arrows->setRange(-kMaxAdjustmentCents, kMaxAdjustmentCents);
    m_arrows->setFixedWidth(22);
    adjustBox->addWidget(m_adjust);
    adjustBox->addWidget(m_arrows);
    grid->addLayout(adjustBox, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("cents"), group), 0, 2);
    m_frequency = new QLabel(group);
    m_frequency->setObjectName(QStringLiteral("frequency"));
    m_frequency->setMinimumWidth(80);
    grid->addWidget(m_frequency, 0, 3);
    auto *resetAdjust = Button(QStringLiteral("Reset"), QStringLiteral("resetAdjustment"), group);
    grid->addWidget(resetAdjust, 0, 4);

    auto *temperaments =
            Button(QStringLiteral("Temperaments..."), QStringLiteral("temperaments"), group);
    grid->addWidget(temperaments, 1, 1, 1, 2);

    grid->addWidget(new QLabel(QStringLiteral("Reference adjustment:"), group), 2, 0);
    m_reference = new QLineEdit(group);
    m_reference->setObjectName(QStringLiteral("reference"));
    m_reference->setMaximumWidth(82);
    grid->addWidget(m_reference, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Hz"), group), 2, 2);
    m_cents = new QLabel(group);
    m_cents->setObjectName(QStringLiteral("cents"));
    grid->addWidget(m_cents, 2, 3);
    auto *resetReference = Button(QStringLiteral("Reset"), QStringLiteral("resetReference"), group);
    grid->addWidget(resetReference, 2, 4);
    auto *restore = Button(QStringLiteral("Restore"), QStringLiteral("restore"), group);
    grid->addWidget(restore, 2, 5);

    m_arrows->setStepFilter([](int) { return true; });
    connect(m_arrows, &widgets::UpDownControl::stepped, this, [this](int value) {
        m_adjust->setText(QString::number(value));
        m_adjustChanged = true;
        ShowFrequency(value);
    });
    connect(m_adjust, &QLineEdit::textEdited, this, [this](const QString &text) {
        ShowFrequency(ClampAdjustment(ParseDecimal(text.toStdString())));
    });
    connect(resetAdjust, &QPushButton::clicked, this, &CDlgConfigPitch::LoadAdjustment);
    connect(temperaments, &QPushButton::clicked, this, &CDlgConfigPitch::OpenTemperaments);
    connect(m_reference, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_cents->setText(Text(ReferenceDistanceTypingText(TypedReference(text))));
    });
    connect(resetReference, &QPushButton::clicked, this, &CDlgConfigPitch::ResetReference);
    connect(restore, &QPushButton::clicked, this, &CDlgConfigPitch::RestoreStandard);
    return group;
}

QWidget *CDlgConfigPitch::MakeToneGroup()
{
    const std::size_t d = std::size_t(m_degree);
    auto *group = new QGroupBox(QStringLiteral("Tone Generator"), this);
    auto *row = new QHBoxLayout(group);

    auto *levelBox = new QVBoxLayout;
    levelBox->addWidget(new QLabel(QStringLiteral("Level"), group), 0, Qt::AlignHCenter);
    m_level = VerticalSlider(0, kLevelPositions, 2, QStringLiteral("level"), group);
    m_level->setValue(LevelToPosition(m_settings.GetToneLevel()[d]));
    levelBox->addWidget(m_level, 1, Qt::AlignHCenter);
    row->addLayout(levelBox);

    auto *waveBox = new QGridLayout;
    waveBox->addWidget(new QLabel(QStringLiteral("Waveform"), group), 0, 0, 1, 2, Qt::AlignHCenter);
    m_waveforms = new QButtonGroup(this); // owned by the dialog
    m_waveforms->setExclusive(true);
    const std::uint32_t stored = m_settings.GetToneWaveform()[d];
    for (std::size_t i = 0; i < kWaveformButtons.size(); ++i) {
        const Waveform waveform = kWaveformButtons[i];
        auto *button = new QToolButton(group);
        button->setObjectName(QStringLiteral("waveform%1").arg(std::uint32_t(waveform)));
        button->setCheckable(true);
        button->setIcon(WaveformIcon(waveform));
        button->setIconSize(WaveformIconSize());
        button->setToolTip(Text(kWaveformNames[i]));
        button->setChecked(std::uint32_t(waveform) == stored);
        m_waveforms->addButton(button, int(waveform));
        waveBox->addWidget(button, 1 + int(i) / 2, int(i) % 2);
    }
    row->addLayout(waveBox);

    auto *octaveBox = new QGridLayout;
    octaveBox->addWidget(new QLabel(QStringLiteral("Octave"), group), 0, 0, 1, 2, Qt::AlignHCenter);
    m_octave = VerticalSlider(-2, 2, 1, QStringLiteral("octave"), group);
    m_octave->setValue(OctaveToPosition(m_settings.GetToneOctave()[d]));
    octaveBox->addWidget(m_octave, 1, 0, int(kToneOctaveLabels.size()), 1);
    for (std::size_t i = 0; i < kToneOctaveLabels.size(); ++i)
        octaveBox->addWidget(new QLabel(Text(kToneOctaveLabels[i]), group), 1 + int(i), 1);
    row->addLayout(octaveBox);
    return group;
}

QAbstractButton *CDlgConfigPitch::waveformButton(int index) const noexcept
{
    return m_waveforms->button(int(kWaveformButtons.at(std::size_t(index))));
}

QPushButton *CDlgConfigPitch::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

void CDlgConfigPitch::LoadAdjustment()
{
    const double cents = m_settings.GetPitchAdjustCents()[std::size_t(m_degree)];
    m_loadedAdjustment = QString::number(WholeCents(cents));
    m_adjust->setText(m_loadedAdjustment);
    m_arrows->setValue(WholeCents(ClampAdjustment(cents)));
    m_adjustChanged = false;
    ShowFrequency(ClampAdjustment(cents));
}

void CDlgConfigPitch::ShowFrequency(double cents)
{
    m_frequency->setText(Text(FrequencyText(DegreeClassFreq(m_pitch, m_keys, m_degree, cents))));
}

void CDlgConfigPitch::OpenTemperaments()
{
    DlgTemp list(m_settings, this);
    m_runList(list);
    LoadAdjustment();
}

void CDlgConfigPitch::ResetReference()
{
    const double hz = m_settings.GetReferenceHz();
    m_reference->setText(QString::number(hz, 'f', 3));
    m_cents->setText(Text(ReferenceDistanceText(hz)));
}

void CDlgConfigPitch::RestoreStandard()
{
    // Only the fields: "Reset" on the adjustment keeps its meaning, and OK stores what is shown.
    m_adjust->setText(QStringLiteral("0"));
    m_arrows->setValue(0);
    const CPitch standard;
    m_frequency->setText(Text(FrequencyText(DegreeClassFreq(standard, m_keys, m_degree, 0.0))));
    m_reference->setText(Text(kStandardReferenceText));
    m_cents->setText(Text(kZeroCentsText));
}

void CDlgConfigPitch::accept()
{
    const std::optional<double> typed = TypedReference(m_reference->text());
    if (!ConfirmReference(this, typed))
        return;
    const double hz = *typed;
    // The field shows whole cents; an offset left as it was keeps its stored fraction.
    const bool untouched = m_adjust->text() == m_loadedAdjustment;
    const double cents = untouched ? double(m_settings.GetPitchAdjustCents()[std::size_t(m_degree)])
                                   : ParseDecimal(m_adjust->text().toStdString());
    if (!ConfirmAdjustment(this, cents))
        return;

    const std::size_t d = std::size_t(m_degree);
    SetDegreeAdjustment(m_settings, m_degree, float(cents), m_adjustChanged);
    DegreeOctaves octaves = m_settings.GetToneOctave();
    octaves[d] = PositionToOctave(m_octave->value());
    m_settings.SetToneOctave(octaves);
    DegreeFloats levels = m_settings.GetToneLevel();
    // A slider left where it opened keeps the stored level, which may lie between positions.
    if (m_level->value() != LevelToPosition(levels[d]))
        levels[d] = PositionToLevel(m_level->value());
    m_settings.SetToneLevel(levels);
    if (m_waveforms->checkedId() > 0) {
        DegreeWaveforms waveforms = m_settings.GetToneWaveform();
        waveforms[d] = std::uint32_t(m_waveforms->checkedId());
        m_settings.SetToneWaveform(waveforms);
    }
    ChangeReference(m_pitch, m_settings, hz);
    QDialog::accept();
}

} // namespace corvane::dialogs
