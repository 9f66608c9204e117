// main() for GoogleTest programs that make widgets: one QApplication for all their tests, on the
// offscreen platform unless the environment names another. It takes the place of gtest_main.
// The program's cache (the band files of every recording a test opens) goes to a private folder
// removed at the end, never to the user's own.

#include "TempDir.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const corvane::test::TempDir cache;
    setenv("XDG_CACHE_HOME", cache.path().c_str(), 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
