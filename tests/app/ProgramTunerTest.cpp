// The program as it starts: the main window opens the real tuner window by itself, here on the
// virtual devices hearing a steady a'.

#include "AudioFacade.h"
#include "CSplashWnd.h"
#include "CTonrikApp.h"
#include "CTuner.h"
#include "PracticeClocks.h"
#include "ProgramState.h"
#include "ScriptedMessageService.h"
#include "TempDir.h"
#include "VirtualToneDevices.h"
#include "VirtualBackend.h"

#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace corvane;

TEST(ProgramTuner, StartUpOpensTheTunerAndItsClosingFreesTheWindow)
{
    const test::TempWorkingDir dir;
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.path().string()));
    widgets::ScriptedMessageService boxes;
    const widgets::MessageServiceOverride useBoxes(boxes);
    const test::VirtualToneDevices devices(440.0);

    ProgramState program;
    PracticeClocks clocks;
    {
        CTonrikApp application(program, clocks);
        ASSERT_TRUE(application.InitInstance({}, application.TunerWindow()));
        program.settings.SetCaptureFormat({ 1, 44100, 16 });
        program.settings.SetPlaybackFormat({ 1, 44100, 16 });
        CMainFrame *frame = application.mainFrame();
        QApplication::processEvents();
        auto *tuner = frame->findChild<tuner::CTuner *>();
        ASSERT_NE(tuner, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(tuner));
        EXPECT_EQ(tuner->windowTitle(), QStringLiteral("Tuner Active"));
        EXPECT_FALSE(frame->action(CMainFrame::Command::TunerOnly)->isEnabled());

        if (const char *docs = std::getenv("CORVANE_DOCS_DIR")) {
            // Let a few display updates light the wheel before the picture.
            QTest::qWait(1500);
            frame->resize(1100, 760);
            QImage picture = frame->grab().toImage();
            QPainter painter(&picture);
            const QImage window = tuner->grab().toImage();
            painter.drawImage((picture.width() - window.width()) / 2, 150, window);
            painter.end();
            picture.save(QString::fromLocal8Bit(docs) + QStringLiteral("/main-window-tuner.png"));
        }

        tuner->reject();
        EXPECT_TRUE(QTest::qWaitFor(
                [&] { return frame->action(CMainFrame::Command::TunerOnly)->isEnabled(); }, 5000));
        application.ExitInstance();
    }
}
