#pragma once

#include <QDialog>

namespace corvane {

class CHyperLink;

// "About Corvane": the icon, the name and version, three lines inviting feedback and the link to
// the feedback page. UI thread only.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    // Where the feedback link leads.
    static constexpr const char *kFeedbackUrl = "https://tarnwick.example/corvane/feedback";

    explicit CAboutDlg(QWidget *parent = nullptr);

    CHyperLink *link() const noexcept { return m_link; }

private:
    CHyperLink *m_link; // owned by the dialog through its layout
};

} // namespace corvane
