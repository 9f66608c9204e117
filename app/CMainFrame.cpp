#include "CMainFrame.h"

#include "Version.h"

#include <QWidget>

namespace corvane {

CMainFrame::CMainFrame(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QString::fromLatin1(kProductName));
    setCentralWidget(new QWidget(this)); // owned by the main window
    resize(800, 600);
}

} // namespace corvane
