#include "CHyperLink.h"

#include "HyperlinkErrors.h"
#include "LinkOpener.h"
#include "MessageService.h"

#include <QApplication>
#include <QMouseEvent>
#include <QUrl>

namespace corvane {

CHyperLink::CHyperLink(const QString &text, const QString &url, QWidget *parent)
    : QLabel(parent)
    , m_url(url.isEmpty() ? text : url)
{
    setText(text.isEmpty() ? m_url : text);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    Refresh();
}

void CHyperLink::SetURL(const QString &url)
{
    m_url = url;
    Refresh();
}

void CHyperLink::SetUnderline(bool underline)
{
    m_underline = underline;
    Refresh();
}

void CHyperLink::SetVisited(bool visited)
{
    m_visited = visited;
    Refresh();
}

QColor CHyperLink::textColor() const
{
    if (m_overControl)
        return palette().color(QPalette::Highlight);
    return QColor(m_visited ? kVisitedColor : kLinkColor);
}

bool CHyperLink::GotoURL()
{
    const int code = linkOpener().open(QUrl(m_url));
    if (code > 32) {
        SetVisited(true);
        return true;
    }
    QApplication::beep();
    widgets::messages().show(this, {}, QString::fromStdString(HyperlinkErrorMessage(code)),
                             widgets::MessageService::Icon::Exclamation,
                             widgets::MessageService::Buttons::Ok);
    return false;
}

void CHyperLink::enterEvent(QEnterEvent *event)
{
    m_overControl = true;
    Refresh();
    QLabel::enterEvent(event);
}

void CHyperLink::leaveEvent(QEvent *event)
{
    m_overControl = false;
    Refresh();
    QLabel::leaveEvent(event);
}

void CHyperLink::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        GotoURL();
    QLabel::mouseReleaseEvent(event);
}

void CHyperLink::Refresh()
{
    QFont linkFont = font();
    linkFont.setUnderline(m_underline);
    setFont(linkFont);
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, textColor());
    setPalette(colors);
    setToolTip(m_url);
    if (m_adjustToFit)
        setFixedSize(sizeHint());
    update();
}

} // namespace corvane
