#include "LinkOpener.h"

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
            return QDesktopServices::openUrl(url) ? kOpened : kNoProgram;
        }
    };

} // namespace

template<>
LinkOpener *&widgets::ServiceOverride<LinkOpener>::slot()
{
    static DesktopLinkOpener desktop;
    static LinkOpener *current = &desktop;
    return current;
}

LinkOpener &linkOpener()
{
    return LinkOpenerOverride::current();
}

} // namespace corvane
