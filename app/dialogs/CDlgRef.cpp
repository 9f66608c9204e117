#include "CDlgRef.h"

#include "CPitch.h"
#include "CTCDefs.h"
#include "PitchDialogRules.h"
#include "ReferenceConfirmation.h"
#include "Tuning.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane::dialogs {

namespace {

    QString Text(const std::string &text)
    {
        return QString::fromStdString(text);
    }

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

void CDlgRef::accept()
{
    const std::optional<double> typed = TypedReference(m_reference->text());
    if (!ConfirmReference(this, typed))
        return;
    const double hz = *typed;
    ChangeReference(m_pitch, m_settings, hz);
    QDialog::accept();
}

} // namespace corvane::dialogs
