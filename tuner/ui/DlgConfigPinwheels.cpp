#include "DlgConfigPinwheels.h"

#include "ColorChooser.h"
#include "PinwheelWidget.h"
#include "PinwheelZoneStrip.h"
#include "UpDownControl.h"
#include "WheelState.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane::tuner {

namespace {

    // The grid has two half-columns per color, so a threshold's field can sit on the boundary
    // between two zones. Field (and its sign) for t0..t4: first half-column and label.
    struct FieldPlace
    {
        int column;
        const char *sign;
    };
    constexpr std::array<FieldPlace, kPinwheelThresholdCount> kFieldPlaces { {
            { 1, "-" },   // t0: between the outer and inner flat zones
            { 3, "-" },   // t1: between the inner flat zone and the flat side of the center
            { 6, "+/-" }, // t2: under the center zone
            { 9, "+" },   // t3
            { 11, "+" },  // t4
    } };

    // The preview wheels stand with their blades at 45 degrees.
    constexpr int kPreviewPhase = 18;

    QLabel *Text(const char *text, Qt::Alignment alignment, QWidget *parent)
    {
        auto *label = new QLabel(QString::fromLatin1(text), parent);
        label->setAlignment(alignment);
        return label;
    }

} // namespace

DlgConfigPinwheels::DlgConfigPinwheels(CTCDefs &settings, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_zones(settings.GetPinwheelThresholds(), settings.GetPinwheelColors())
{
    setWindowTitle(QStringLiteral("Select Pitchwheel Colors and Thresholds"));

    // Every widget below is a child of the dialog through the layouts, which the dialog owns.
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->addWidget(Text("Flat", Qt::AlignLeft, this), 0, 0, 1, 4);
    grid->addWidget(Text("Pitch center", Qt::AlignHCenter, this), 0, 4, 1, 6);
    grid->addWidget(Text("Sharp", Qt::AlignRight, this), 0, 10, 1, 4);

    for (int zone = 0; zone < kPinwheelColorCount; ++zone) {
        const std::size_t i = std::size_t(zone);
        m_previews[i] = new PinwheelWidget(this);
        m_previews[i]->setObjectName(QStringLiteral("preview%1").arg(zone));
        m_previews[i]->setFixedSize(64, 80);
        grid->addWidget(m_previews[i], 1, 2 * zone, 1, 2, Qt::AlignHCenter);

        m_colorButtons[i] = new QPushButton(QStringLiteral("Color..."), this);
        m_colorButtons[i]->setObjectName(QStringLiteral("color%1").arg(zone));
        m_colorButtons[i]->setAutoDefault(false);
        connect(m_colorButtons[i], &QPushButton::clicked, this,
                [this, zone] { ChooseColor(zone); });
        grid->addWidget(m_colorButtons[i], 2, 2 * zone, 1, 2);
    }

    m_strip = new PinwheelZoneStrip(this);
    m_strip->setMinimumHeight(16);
    grid->addWidget(m_strip, 3, 0, 1, 2 * kPinwheelColorCount);

    for (int t = 0; t < kPinwheelThresholdCount; ++t) {
        const FieldPlace place = kFieldPlaces[std::size_t(t)];
        grid->addWidget(Text(place.sign, Qt::AlignHCenter, this), 4, place.column, 1, 2);
        auto *field = new widgets::UpDownControl(this);
        field->setObjectName(QStringLiteral("threshold%1").arg(t));
        field->setRange(0, PinwheelZoneSettings::kMaxCents);
        field->setValue(m_zones.threshold(t));
        field->setStepFilter([this, t](int value) { return m_zones.StepThreshold(t, value); });
        connect(field, &widgets::UpDownControl::stepped, this, [this] { ShowZones(); });
        m_fields[std::size_t(t)] = field;
        grid->addWidget(field, 5, place.column, 1, 2);
    }

    grid->addWidget(Text("(-) 50 cents flat", Qt::AlignLeft, this), 6, 0, 1, 5);
    grid->addWidget(Text("(+) 50 cents sharp", Qt::AlignRight, this), 6, 9, 1, 5);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &DlgConfigPinwheels::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DlgConfigPinwheels::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addWidget(
            Text("All thresholds are in cents from the pitch center: flat (-) or sharp (+).",
                 Qt::AlignLeft, this));
    layout->addWidget(buttons);

    ShowZones();
}

widgets::UpDownControl *DlgConfigPinwheels::thresholdField(int index) const noexcept
{
    return m_fields[std::size_t(index)];
}

void DlgConfigPinwheels::ChooseColor(int zone)
{
    const Rgb now = Rgb::fromColorRef(m_zones.colors()[std::size_t(zone)]);
    const std::optional<QColor> chosen =
            widgets::colorChooser().choose(this, QColor(now.red, now.green, now.blue));
    if (!chosen)
        return;
    m_zones.SetColor(zone,
                      Rgb { std::uint8_t(chosen->red()), std::uint8_t(chosen->green()),
                            std::uint8_t(chosen->blue()) }
                              .toColorRef());
    ShowZones();
}

void DlgConfigPinwheels::ShowZones()
{
    for (int t = 0; t < kPinwheelThresholdCount; ++t)
        m_fields[std::size_t(t)]->setValue(m_zones.threshold(t));
    for (int zone = 0; zone < kPinwheelColorCount; ++zone)
        m_previews[std::size_t(zone)]->setPicture(
                WheelState::Lit(zone, kPreviewPhase).picture(m_zones.colors(), false));
    m_strip->setZones(m_zones);
}

void DlgConfigPinwheels::accept()
{
    m_settings.SetPinwheelThresholds(m_zones.thresholds());
    m_settings.SetPinwheelColors(m_zones.colors());
    QDialog::accept();
}

} // namespace corvane::tuner
