#include "CKeyDialog.h"

#include "KeyContext.h"
#include "KeyDialogRules.h"
#include "MusicIcons.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace corvane::dialogs {

CKeyDialog::CKeyDialog(KeyContext &keys, QWidget *parent)
    : QDialog(parent)
    , m_keys(keys)
{
    setWindowTitle(QString::fromLatin1(kKeyDialogTitle));
    m_keyButtons = new QButtonGroup(this);
    auto *grid = new QGridLayout;
    // C and the seven sharp keys in the first row, the seven flat keys under the sharp ones.
    constexpr int kFirstRow = 8;
    for (std::size_t i = 0; i < kKeyButtons.size(); ++i) {
        const KeyButton &key = kKeyButtons[i];
        auto *button = new QToolButton(this); // owned by the dialog
        button->setText(QString::fromLatin1(key.text));
        button->setToolTip(button->text());
        button->setObjectName(QStringLiteral("key%1").arg(key.key));
        button->setCheckable(true);
        button->setIcon(KeySignatureIcon(keys.Clef(), key.key));
        button->setIconSize(KeySignatureIconSize());
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setChecked(key.key == keys.Key());
        m_keyButtons->addButton(button, key.key);
        const int index = int(i);
        if (index < kFirstRow)
            grid->addWidget(button, 0, index);
        else
            grid->addWidget(button, 1, index - kFirstRow + 1);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CKeyDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CKeyDialog::reject);
}

QAbstractButton *CKeyDialog::keyButton(int key) const
{
    return m_keyButtons->button(key);
}

void CKeyDialog::accept()
{
    if (m_keyButtons->checkedId() >= 0)
        m_keys.SetKey(m_keyButtons->checkedId());
    QDialog::accept();
}

} // namespace corvane::dialogs
