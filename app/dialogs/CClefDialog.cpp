#include "CClefDialog.h"

#include "CTCDefs.h"
#include "KeyContext.h"
#include "KeyDialogRules.h"
#include "MessageService.h"
#include "MusicIcons.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace corvane::dialogs {

CClefDialog::CClefDialog(KeyContext &keys, const CTCDefs &settings,
                         std::filesystem::path settingsFile, QWidget *parent)
    : QDialog(parent)
    , m_keys(keys)
    , m_settings(settings)
    , m_settingsFile(std::move(settingsFile))
{
    setWindowTitle(QString::fromLatin1(kClefDialogTitle));
    m_clefs = new QButtonGroup(this);
    auto *row = new QHBoxLayout;
    for (int clef = 0; clef < kClefCount; ++clef) {
        auto *button = new QToolButton(this); // owned by the dialog
        const std::string_view text = kClefButtonTexts[std::size_t(clef)];
        button->setText(QString::fromLatin1(text));
        button->setToolTip(button->text());
        button->setObjectName(QStringLiteral("clef%1").arg(clef));
        button->setCheckable(true);
        button->setIcon(ClefIcon(clef));
        button->setIconSize(ClefIconSize());
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setChecked(clef == keys.Clef());
        m_clefs->addButton(button, clef);
        row->addWidget(button);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CClefDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CClefDialog::reject);
}

QAbstractButton *CClefDialog::clefButton(int clef) const
{
    return m_clefs->button(clef);
}

void CClefDialog::accept()
{
    if (m_clefs->checkedId() >= 0) {
        m_keys.SetClef(m_clefs->checkedId());
        const std::string error = m_settings.WriteDefaultsFile(m_settingsFile);
        if (!error.empty())
            widgets::messages().error(this, QString::fromStdString(error));
    }
    QDialog::accept();
}

} // namespace corvane::dialogs
