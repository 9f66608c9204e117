#include "CMainFrame.h"

#include <QtTest>

using corvane::CMainFrame;

class MainFrameTest : public QObject
{
    Q_OBJECT
private slots:
    void opensTitledAndCloses()
    {
        CMainFrame frame;
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QCOMPARE(frame.windowTitle(), QStringLiteral("Corvane"));
        QVERIFY(frame.centralWidget() != nullptr);
        QVERIFY(frame.close());
        QVERIFY(!frame.isVisible());
    }
};

QTEST_MAIN(MainFrameTest)
#include "tst_MainFrame.moc"
