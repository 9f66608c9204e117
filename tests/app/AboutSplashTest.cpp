#include "CAboutDlg.h"
#include "CHyperLink.h"
#include "CSplashWnd.h"
#include "HyperlinkErrors.h"
#include "LinkOpener.h"
#include "ScriptedMessageService.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

using namespace corvane;

// The About box names the opener's codes by the desktop call's own numbers.
static_assert(LinkOpener::kNoProgram == kNoAssociatedApplication);
static_assert(LinkOpener::kOpened > 32);

namespace {

struct StubOpener final : LinkOpener
{
    int open(const QUrl &url) override
    {
        opened.push_back(url.toString());
        return result;
    }
    int result = 42;
    std::vector<QString> opened;
};

} // namespace

TEST(HyperLink, AClickOpensTheAddressAndMarksTheLinkVisited)
{
    StubOpener opener;
    const LinkOpenerOverride use(opener);
    CAboutDlg about;
    about.show();
    CHyperLink *link = about.link();
    EXPECT_EQ(link->text(), QStringLiteral("Go to the Tarnwick Website!"));
    EXPECT_EQ(link->toolTip(), QString::fromLatin1(CAboutDlg::kFeedbackUrl));
    EXPECT_TRUE(link->font().underline());
    EXPECT_EQ(link->textColor(), QColor(CHyperLink::kLinkColor));

    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(opener.opened, std::vector<QString> { QString::fromLatin1(CAboutDlg::kFeedbackUrl) });
    EXPECT_TRUE(link->visited());
    EXPECT_EQ(link->textColor(), QColor(CHyperLink::kVisitedColor));

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(link, &enter);
    EXPECT_TRUE(link->overControl());
    EXPECT_EQ(link->textColor(), link->palette().color(QPalette::Highlight));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(link, &leave);
    EXPECT_EQ(link->textColor(), QColor(CHyperLink::kVisitedColor));
}

TEST(HyperLink, AnAddressThatCannotBeOpenedIsReportedAndStaysUnvisited)
{
    StubOpener opener;
    opener.result = 2;
    const LinkOpenerOverride use(opener);
    widgets::ScriptedMessageService boxes;
    const widgets::MessageServiceOverride useBoxes(boxes);
    CHyperLink link(QString(), QStringLiteral("https://example.org/x"));
    EXPECT_EQ(link.text(), QStringLiteral("https://example.org/x"));
    EXPECT_FALSE(link.GotoURL());
    EXPECT_FALSE(link.visited());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              QStringLiteral("Unable to open hyperlink:\n\nThe specified file was not found."));
    EXPECT_EQ(boxes.shown[0].icon, widgets::MessageService::Icon::Exclamation);
}

TEST(Splash, AKeyPressDismissesItAndGoesNoFurther)
{
    QWidget window;
    auto *field = new QLineEdit(&window); // owned by the window
    window.show();
    field->setFocus();
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen(&window);
    ASSERT_NE(CSplashWnd::current(), nullptr);
    CSplashWnd::ShowSplashScreen(&window); // one at a time

    QTest::keyClick(field, Qt::Key_A);
    EXPECT_EQ(CSplashWnd::current(), nullptr);
    EXPECT_TRUE(field->text().isEmpty());
    QTest::keyClick(field, Qt::Key_B);
    EXPECT_EQ(field->text(), QStringLiteral("b"));

    CSplashWnd::ShowSplashScreen(&window);
    ASSERT_NE(CSplashWnd::current(), nullptr);
    QTest::mouseClick(field, Qt::LeftButton);
    EXPECT_EQ(CSplashWnd::current(), nullptr);
}

TEST(Splash, ItGoesByItselfAndNotAtAllWhenDisabled)
{
    QWidget window;
    window.show();
    CSplashWnd::EnableSplashScreen(false);
    CSplashWnd::ShowSplashScreen(&window);
    EXPECT_EQ(CSplashWnd::current(), nullptr);

    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen(&window);
    ASSERT_NE(CSplashWnd::current(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([] { return CSplashWnd::current() == nullptr; }, 10000));
}
