#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

// The windows need an application object; settings go to Qt's test locations, never to the
// user's own recent-file list.
int main(int argc, char *argv[])
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
