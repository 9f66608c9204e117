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
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QSignalBlocker>
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

    // One choice of two, with ids 0 and 1 and a tooltip each; `second` checks the second.
    struct Choice
    {
        std::string_view text;
        const char *tip;
    };
    QGroupBox *TwoChoices(const QString &title, const Choice &first, const Choice &other,
                          bool second, QButtonGroup *&group, QWidget *parent)
    {
        auto *box = new QGroupBox(title, parent);
        auto *column = new QVBoxLayout(box);
        group = new QButtonGroup(box); // owned by the box
        int id = 0;
        for (const Choice &choice : { first, other }) {
            auto *radio = new QRadioButton(Text(choice.text), box);
            radio->setToolTip(QString::fromUtf8(choice.tip));
            radio->setChecked((id == 1) == second);
            group->addButton(radio, id++);
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
    , m_chosenInstrument(m_preferences.instrument)
{
    setWindowTitle(Text(kOptimizeDialogTitle));

    // Every widget is a child of the dialog through the layouts.
    auto *notes = new QHBoxLayout;
    notes->addWidget(MakeNoteGroup(0, QStringLiteral("Lowest Note")));
    notes->addWidget(MakeNoteGroup(1, QStringLiteral("Highest Note")));
    notes->addWidget(MakeInstrumentColumn());

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

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(notes);
    layout->addLayout(options);
    layout->addWidget(MakePreferenceGroups());
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &DlgOptimize::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DlgOptimize::reject);
    connect(m_filterLength, &QButtonGroup::idClicked, this, [this] { ShowInstrument(); });
    ShowInstrument();
}

QWidget *DlgOptimize::MakeInstrumentColumn()
{
    auto *column = new QWidget(this);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *title = new QLabel(Text(kInstrumentTitle) + QLatin1Char(':'), column);
    m_instrument = new QComboBox(column);
    m_instrument->setObjectName(QStringLiteral("instrument"));
    m_instrument->setToolTip(QStringLiteral("Sets the lowest and the highest note and the filter "
                                            "length to suit the instrument."));
    title->setBuddy(m_instrument);
    // `activated` comes only from the user, so showing a match never counts as a choice.
    connect(m_instrument, &QComboBox::activated, this, &DlgOptimize::ChooseInstrument);
    auto *concert = new QLabel(Text(kConcertPitchNote), column);
    concert->setWordWrap(true);
    layout->addWidget(title);
    layout->addWidget(m_instrument);
    layout->addWidget(concert);
    layout->addStretch();
    column->setFixedWidth(170);
    return column;
}

QWidget *DlgOptimize::MakePreferenceGroups()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);

    QGroupBox *modeBox = TwoChoices(
            Text(kAnalysisModeTitle),
            { kRefinedModeText,
              "Checks each reading against the period of the sound itself: "
              "steadier and more exact." },
            { kClassicModeText, "The octave bands' decision alone, as earlier versions." },
            m_preferences.classic, m_mode, row);
    QGroupBox *resultsBox = TwoChoices(
            Text(kResultsTitle),
            { kHopResultsText,
              "The analysis window moves by a quarter block or less: a new "
              "reading about every 23 ms, and a row for each in the "
              "recording's analysis." },
            { kBlockResultsText, "One reading per block of samples, as earlier versions." },
            m_preferences.blockHop, m_results, row);

    auto *displayBox = new QGroupBox(Text(kDisplayTitle), row);
    auto *displayColumn = new QVBoxLayout(displayBox);
    m_classicDisplay = new QCheckBox(Text(kClassicDisplayText), displayBox);
    m_classicDisplay->setToolTip(QStringLiteral("The wheels and the readout update five times a "
                                                "second instead of with every reading."));
    m_classicDisplay->setChecked(m_preferences.classicDisplay);
    displayColumn->addWidget(m_classicDisplay);
    displayColumn->addStretch();

    layout->addWidget(modeBox);
    layout->addWidget(resultsBox);
    layout->addWidget(displayBox);
    return row;
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
        ShowInstrument();
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

void DlgOptimize::ChooseInstrument(int listIndex)
{
    const InstrumentPreset *preset = InstrumentAtListIndex(std::size_t(listIndex));
    if (!preset) // "Custom" keeps what was set by hand
        return;
    m_chosenInstrument = std::string(preset->id);
    m_hz = { preset->lowestHz, preset->highestHz };
    for (int which = 0; which < 2; ++which) {
        const int index = m_pitch.NoteIndex(m_hz[std::size_t(which)]);
        m_arrows[std::size_t(which)]->setValue(index);
        ShowNote(which, index);
    }
    if (QAbstractButton *filter = m_filterLength->button(int(preset->filterLengthCode)))
        filter->setChecked(true);
    ShowInstrument();
}

void DlgOptimize::ShowInstrument()
{
    const InstrumentPreset *shown =
            ShownInstrument(m_hz[0], m_hz[1], CheckedFilterLength(), m_chosenInstrument);
    const std::vector<std::string> texts = InstrumentListTexts(shown);
    const QSignalBlocker quiet(m_instrument);
    if (m_instrument->count() != int(texts.size())) {
        m_instrument->clear();
        for (const std::string &text : texts)
            m_instrument->addItem(QString::fromStdString(text));
    }
    m_instrument->setCurrentIndex(int(InstrumentListIndex(shown)));
}

std::uint32_t DlgOptimize::CheckedFilterLength() const
{
    const int checked = m_filterLength->checkedId();
    return checked > 0 ? std::uint32_t(checked) : m_settings.GetFilterLength();
}

AnalyzerPreferences DlgOptimize::ChosenPreferences() const
{
    AnalyzerPreferences chosen = m_preferences;
    chosen.classic = m_mode->checkedId() == 1;
    chosen.blockHop = m_results->checkedId() == 1;
    chosen.classicDisplay = m_classicDisplay->isChecked();
    const InstrumentPreset *shown =
            InstrumentAtListIndex(std::size_t(m_instrument->currentIndex()));
    chosen.instrument = shown ? std::string(shown->id) : std::string();
    return chosen;
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
    const AnalyzerPreferences chosen = ChosenPreferences();
    if (chosen.classic != m_preferences.classic || chosen.blockHop != m_preferences.blockHop
        || chosen.classicDisplay != m_preferences.classicDisplay
        || chosen.instrument != m_preferences.instrument) {
        if (const auto saved = chosen.save(m_preferencesFile))
            m_preferences = chosen;
        else
            widgets::messages().show(this, Text(kWarningTitle),
                                     QString::fromStdString(PreferencesNotSavedText(saved.error)),
                                     widgets::MessageService::Icon::Exclamation,
                                     widgets::MessageService::Buttons::Ok);
    }
    QDialog::accept();
}

} // namespace corvane::dialogs
