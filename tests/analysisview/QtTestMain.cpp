#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

// Qt's own libraries are not built with ThreadSanitizer, so the hand-overs inside their thread
// pools (fonts and images on the offscreen platform) look like races to it. Our own code is still
// checked wherever a race has no Qt frame on either side. Read only by a ThreadSanitizer build.
extern "C" const char *__tsan_default_suppressions()
{
    return "race:libQt6Core.so\nrace:libQt6Gui.so\n";
}

// The windows need an application object, on the offscreen platform unless the environment
// names another; settings go to Qt's test locations, never to the user's own recent-file list.
int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
