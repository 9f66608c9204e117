// The program as it starts: the main window opens the real tuner window by itself, here on the
// virtual devices hearing a steady a'.

#include "AudioFacade.h"
#include "CSplashWnd.h"
#include "CTonrikApp.h"
#include "CTuner.h"
#include "DarkPalette.h"
#include "PitchReadoutWidget.h"
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

        // The main window with the tuner over it, as a picture; in the light palette and in the
        // dark one a dark desktop asks for.
        const auto picture = [&] {
            frame->resize(1100, 760);
            QImage shot = frame->grab().toImage();
            QPainter painter(&shot);
            const QImage window = tuner->grab().toImage();
            painter.drawImage((shot.width() - window.width()) / 2, 150, window);
            painter.end();
            return shot;
        };
        const char *docs = std::getenv("CORVANE_DOCS_DIR");
        // Let a few display updates light the wheel and fill the readout.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !tuner->readoutText().isEmpty(); }, 5000));
        if (docs)
            picture().save(QString::fromLocal8Bit(docs) + QStringLiteral("/main-window-tuner.png"));
        widgets::useDarkPalette(*qApp);
        QTest::qWait(50); // every window takes the palette change and repaints
        EXPECT_TRUE(widgets::isDark(tuner->palette()));
        // The readout's ink is light on the dark ground: some of its pixels are near white.
        const QImage readout = tuner->readout()->grab().toImage();
        int light = 0;
        for (int y = 0; y < readout.height(); y += 2)
            for (int x = 0; x < readout.width(); x += 2)
                light += qGray(readout.pixel(x, y)) > 200 ? 1 : 0;
        EXPECT_GT(light, 20);
        if (docs)
            tuner->grab().save(QString::fromLocal8Bit(docs) + QStringLiteral("/tuner-dark.png"));
        QApplication::setPalette(QPalette());

        tuner->reject();
        EXPECT_TRUE(QTest::qWaitFor(
                [&] { return frame->action(CMainFrame::Command::TunerOnly)->isEnabled(); }, 5000));
        application.ExitInstance();
    }
}
