#include "LinkOpener.h"

#include "HyperlinkErrors.h"

#include <QDesktopServices>
#include <QUrl>

namespace corvane {

namespace {

    class DesktopLinkOpener final : public LinkOpener
    {
    public:
        int open(const QUrl &url) override
        {
            // The desktop's handler (xdg-open on most systems) says only whether some program
            // took the address.
            return QDesktopServices::openUrl(url) ? 33 : kNoAssociatedApplication;
        }
    };

    DesktopLinkOpener s_desktop;
    LinkOpener *s_current = &s_desktop;

} // namespace

LinkOpener &linkOpener()
{
    return *s_current;
}

LinkOpenerOverride::LinkOpenerOverride(LinkOpener &opener)
    : m_previous(s_current)
{
    s_current = &opener;
}

LinkOpenerOverride::~LinkOpenerOverride()
{
    s_current = m_previous;
}

} // namespace corvane
