#pragma once

#include <QDialog>

class QTextBrowser;

namespace corvane {

// "Corvane Help Topics": the program's short help (what the windows do, the keys, the command
// line), shipped in the program's resources, in a window of its own beside the main window.
// Links to outside addresses open in the desktop's browser. UI thread.
class HelpWindow : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char *kHelpPage = "qrc:/corvane/help/tonrik-help.html";

    explicit HelpWindow(QWidget *parent = nullptr);

    QTextBrowser *browser() const noexcept { return m_browser; }

private:
    QTextBrowser *m_browser = nullptr; // owned by this window
};

} // namespace corvane
