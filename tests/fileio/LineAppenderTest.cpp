#include "LineAppender.h"

#include "CsvText.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace corvane {
namespace {

    TEST(LineAppender, LinesAreAddedWholeAndAFailedOneLeavesNoTrace)
    {
        test::TempDir dir;
        const auto log = dir / "corvlog.txt";
        EXPECT_EQ(appendWholeLine(log, "first run"), "");
        EXPECT_EQ(appendWholeLine(log, "second run"), "");
        const std::string error = appendWholeLine(log, "lost run", [](FileStep step) {
            return step == FileStep::Write ? ENOSPC : 0;
        });
        EXPECT_EQ(error, "Cannot write \"" + log.string() + "\": No space left on device");
        EXPECT_EQ(test::fileText(log), "first run\nsecond run\n");
    }

    TEST(LineAppender, AMissingFolderIsReportedNotIgnored)
    {
        test::TempDir dir;
        const auto log = dir / "gone" / "corvlog.txt";
        EXPECT_NE(appendWholeLine(log, "a run").find("No such file or directory"),
                  std::string::npos);
    }

} // namespace
} // namespace corvane
