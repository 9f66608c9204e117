#include "CAboutDlg.h"

#include "CHyperLink.h"
#include "Version.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

namespace corvane {

CAboutDlg::CAboutDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About %1").arg(QString::fromLatin1(kProductName)));

    auto *icon = new QLabel;
    icon->setPixmap(QIcon(QStringLiteral(":/corvane/tonrik.svg")).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto *name = new QLabel(
            QStringLiteral("%1 Version %2")
                    .arg(QString::fromLatin1(kProductName), QString::fromLatin1(kVersion)));
    auto *invitation = new QLabel(QStringLiteral("Find a bug in our software?\n"
                                                 "Have a great idea for an improvement?\n"
                                                 "Just want to give us some feedback?"));
    m_link = new CHyperLink(QStringLiteral("Go to the Tarnwick Website!"),
                            QString::fromLatin1(kFeedbackUrl));
    m_link->SetUnderline(true);

    auto *texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addSpacing(8);
    texts->addWidget(invitation);
    texts->addWidget(m_link);
    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(texts);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace corvane
