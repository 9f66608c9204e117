#pragma once

#include <QColor>
#include <QLabel>

namespace corvane {

// A line of text that opens a web address when clicked: blue and underlined, the highlight
// color while the pointer is over it, purple once visited; the pointing-hand cursor and a tool
// tip with the address. The address opens through linkOpener(); when that fails the program
// beeps and says why in an exclamation box ("Unable to open hyperlink: ...").
//
// With no address the text is taken as the address, with no text the address is shown. The
// control sizes itself to its text. UI thread only.
class CHyperLink : public QLabel
{
    Q_OBJECT

public:
    static constexpr QRgb kLinkColor = qRgb(0, 0, 238);
    static constexpr QRgb kVisitedColor = qRgb(85, 26, 139);

    explicit CHyperLink(const QString &text, const QString &url = {}, QWidget *parent = nullptr);

    void SetURL(const QString &url);
    QString GetURL() const { return m_url; }
    void SetUnderline(bool underline);
    bool underline() const noexcept { return m_underline; }
    void SetVisited(bool visited);
    bool visited() const noexcept { return m_visited; }
    bool overControl() const noexcept { return m_overControl; }

    // The color the text is drawn in now.
    QColor textColor() const;

    // Opens the address; true when a program took it (the link is then marked visited).
    bool GotoURL();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void Refresh();

    QString m_url;
    bool m_overControl = false;
    bool m_visited = false;
    bool m_underline = true;
    bool m_adjustToFit = true;
};

} // namespace corvane
