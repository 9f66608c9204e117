#include "HelpWindow.h"

#include "Version.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace corvane {

HelpWindow::HelpWindow(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("%1 Help").arg(QString::fromLatin1(kProductName)));
    // A window the user keeps open beside the main window while trying what it says.
    setModal(false);
    auto *layout = new QVBoxLayout(this); // owned by this window
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);
    m_browser->setSource(QUrl(QString::fromLatin1(kHelpPage)));
    layout->addWidget(m_browser);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
    resize(620, 640);
}

} // namespace corvane
