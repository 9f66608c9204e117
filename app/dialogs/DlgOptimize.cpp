#include "DlgOptimize.h"

#include "CPitch.h"
#include "CTCDefs.h"
#include "KeyContext.h"
#include "MessageService.h"
#include "OptimizeDialogRules.h"
#include "PitchDialogRules.h"
#include "StaffFrame.h"
#include "ToneDialogRules.h"
#include "UpDownControl.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace corvane::dialogs {

namespace {

    QString Text(std::string_view text)
    {
        return QString::fromUtf8(text.data(), qsizetype(text.size()));
    }

    // A group of radio buttons for the codes 1, 2, 3, the stored one checked.
    QGroupBox *Radios(const QString &title, const std::array<const char *, 3> &texts,
                      std::uint32_t stored, QButtonGroup *&group, QWidget *parent)
    {
        auto *box = new QGroupBox(title, parent);
        auto *column = new QVBoxLayout(box);
        group = new QButtonGroup(box); // owned by the box
        for (int code = 1; code <= 3; ++code) {
            auto *radio = new QRadioButton(QString::fromLatin1(texts[std::size_t(code - 1)]), box);
            radio->setChecked(std::uint32_t(code) == stored);
            group->addButton(radio, code);
            column->addWidget(radio);
        }
        return box;
    }

} // namespace

DlgOptimize::DlgOptimize(const CPitch &pitch, CTCDefs &settings, const KeyContext &keys,
                         QWidget *parent, std::filesystem::path preferencesFile)
    : QDialog(parent)
    , m_pitch(pitch)
    , m_settings(settings)
    , m_keys(keys)
    , m_preferencesFile(std::move(preferencesFile))
    , m_preferences(AnalyzerPreferences::load(m_preferencesFile))
    , m_hz { settings.GetLowestNoteHz(), settings.GetHighestNoteHz() }
{
    setWindowTitle(Text(kOptimizeDialogTitle));

    // Every widget is a child of the dialog through the layouts.
    auto *notes = new QHBoxLayout;
    notes->addWidget(MakeNoteGroup(0, QStringLiteral("Lowest Note")));
    notes->addWidget(MakeNoteGroup(1, QStringLiteral("Highest Note")));
    auto *concert = new QLabel(Text(kConcertPitchNote), this);
    concert->setWordWrap(true);
    concert->setFixedWidth(150);
    notes->addWidget(concert);

    auto *options = new QHBoxLayout;
    options->addWidget(Radios(QStringLiteral("Pitch Tracking Sensitivity"),
                              { "High", "Medium", "Low" }, settings.GetSensitivity(), m_sensitivity,
                              this));
    options->addWidget(Radios(QStringLiteral("Filter Length"),
                              { "Long (more accurate)", "Medium", "Shorter (faster response)" },
                              settings.GetFilterLength(), m_filterLength, this));
    auto *noiseBox = new QGroupBox(QStringLiteral("Noise Threshold"), this);
    auto *noiseLayout = new QVBoxLayout(noiseBox);
    m_noise = new QSlider(Qt::Vertical, noiseBox);
    m_noise->setObjectName(QStringLiteral("noise"));
    m_noise->setRange(0, 100);
    m_noise->setPageStep(5);
    m_noise->setTickInterval(10);
    m_noise->setTickPosition(QSlider::TicksRight);
    // Position 0, the highest threshold, at the top.
    m_noise->setInvertedAppearance(true);
    m_noise->setInvertedControls(true);
    m_noise->setValue(NoiseThresholdToPosition(settings.GetNoiseThreshold()));
    m_noise->setMinimumHeight(80);
    noiseLayout->addWidget(m_noise, 0, Qt::AlignHCenter);
    options->addWidget(noiseBox);

    auto *modeBox = new QGroupBox(Text(kAnalysisModeTitle), this);
    auto *modeColumn = new QHBoxLayout(modeBox);
    m_mode = new QButtonGroup(modeBox); // owned by the box
    auto *refined = new QRadioButton(Text(kRefinedModeText), modeBox);
    refined->setToolTip(QStringLiteral("Checks each reading against the period of the sound "
                                       "itself: steadier and more exact."));
    auto *classic = new QRadioButton(Text(kClassicModeText), modeBox);
    classic->setToolTip(QStringLiteral("The octave bands' decision alone, as earlier versions."));
    m_mode->addButton(refined, 0);
    m_mode->addButton(classic, 1);
    (m_preferences.classic ? classic : refined)->setChecked(true);
    modeColumn->addWidget(refined);
    modeColumn->addWidget(classic);
    modeColumn->addStretch();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(notes);
    layout->addLayout(options);
    layout->addWidget(modeBox);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &DlgOptimize::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DlgOptimize::reject);
}

QWidget *DlgOptimize::MakeNoteGroup(int which, const QString &title)
{
    const std::size_t w = std::size_t(which);
    auto *group = new QGroupBox(title, this);
    auto *column = new QGridLayout(group);
    m_frames[w] = new StaffFrame(group);
    column->addWidget(m_frames[w], 0, 0, 1, 2);
    m_arrows[w] = new widgets::UpDownControl(group);
    m_arrows[w]->setObjectName(which == 0 ? QStringLiteral("lowest") : QStringLiteral("highest"));
    m_arrows[w]->setRange(kLowestNoteIndex, kHighestNoteIndex);
    m_arrows[w]->setStepFilter([](int index) { return NoteStepAllowed(index); });
    m_arrows[w]->setMinimumWidth(56);
    m_fields[w] = new QLineEdit(group);
    m_fields[w]->setReadOnly(true);
    column->addWidget(m_arrows[w], 1, 0);
    column->addWidget(m_fields[w], 1, 1);
    connect(m_arrows[w], &widgets::UpDownControl::stepped, this, [this, which](int index) {
        m_hz[std::size_t(which)] = float(m_pitch.NoteFreq(index));
        ShowNote(which, index);
    });
    const int index = m_pitch.NoteIndex(m_hz[w]);
    m_arrows[w]->setValue(index);
    ShowNote(which, index);
    return group;
}

void DlgOptimize::ShowNote(int which, int index)
{
    const std::size_t w = std::size_t(which);
    m_fields[w]->setText(QString::fromStdString(FrequencyText(m_hz[w])));
    const NoteFramePicture layout = LayoutNoteFrame(m_pitch, m_keys.Clef(), index);
    StaffPicture picture;
    picture.clef = m_keys.Clef();
    picture.note =
            StaffPicture::Note { layout.step, layout.sharp ? Accidental::Sharp : Accidental::None };
    picture.label = QString::fromStdString(layout.label);
    // A note moved down is really higher: its label goes above the staff.
    picture.labelAbove = layout.octaves > 0;
    m_frames[w]->setPicture(picture);
}

void DlgOptimize::accept()
{
    const NoteSpan span = OrderedSpan(m_hz[0], m_hz[1]);
    m_settings.SetLowestNoteHz(span.lowestHz);
    m_settings.SetHighestNoteHz(span.highestHz);
    if (m_sensitivity->checkedId() > 0)
        m_settings.SetSensitivity(std::uint32_t(m_sensitivity->checkedId()));
    if (m_filterLength->checkedId() > 0)
        m_settings.SetFilterLength(std::uint32_t(m_filterLength->checkedId()));
    // A slider left where it opened keeps the stored threshold, which may lie between positions.
    if (m_noise->value() != NoiseThresholdToPosition(m_settings.GetNoiseThreshold()))
        m_settings.SetNoiseThreshold(PositionToNoiseThreshold(m_noise->value()));
    const bool classic = m_mode->checkedId() == 1;
    if (classic != m_preferences.classic) {
        AnalyzerPreferences chosen = m_preferences;
        chosen.classic = classic;
        if (const auto saved = chosen.save(m_preferencesFile))
            m_preferences = chosen;
        else
            widgets::messages().show(this, Text(kWarningTitle),
                                     QString::fromStdString(ModeNotSavedText(saved.error)),
                                     widgets::MessageService::Icon::Exclamation,
                                     widgets::MessageService::Buttons::Ok);
    }
    QDialog::accept();
}

} // namespace corvane::dialogs
