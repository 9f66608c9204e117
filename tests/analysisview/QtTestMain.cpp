#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

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
