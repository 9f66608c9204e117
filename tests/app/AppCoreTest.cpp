#include "DocumentName.h"
#include "HyperlinkErrors.h"
#include "MainFrameState.h"
#include "RecentFileList.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(MainFrameState, PlayAndLoopExcludeEachOtherAndTheTuner)
{
    MainFrameState s;
    EXPECT_TRUE(s.canStartTuner());
    EXPECT_EQ(s.togglePlay(), MainFrameState::Toggle::Started);
    EXPECT_FALSE(s.canStartTuner());
    EXPECT_FALSE(s.canLoop());
    EXPECT_TRUE(s.canPlay());
    EXPECT_EQ(s.toggleLoop(), MainFrameState::Toggle::Refused);
    EXPECT_FALSE(s.looping());
    EXPECT_EQ(s.togglePlay(), MainFrameState::Toggle::Stopped);
    EXPECT_TRUE(s.canStartTuner());

    EXPECT_EQ(s.toggleLoop(), MainFrameState::Toggle::Started);
    EXPECT_EQ(s.togglePlay(), MainFrameState::Toggle::Refused);
    EXPECT_FALSE(s.canPlay());
    s.playbackEnded();
    EXPECT_FALSE(s.looping());
    EXPECT_TRUE(s.canStartTuner());
}

TEST(MainFrameState, ZoomStaysWithinItsNineLevels)
{
    MainFrameState s;
    EXPECT_EQ(s.zoom(), 3);
    while (s.zoomOut()) { }
    EXPECT_EQ(s.zoom(), 0);
    EXPECT_FALSE(s.zoomOut());
    EXPECT_EQ(s.zoom(), 0);
    int steps = 0;
    while (s.zoomIn())
        ++steps;
    EXPECT_EQ(steps, 8);
    EXPECT_FALSE(s.zoomIn());
    EXPECT_EQ(s.zoom(), 8);
}

TEST(RecentFileList, KeepsTheFourLatestFilesOnceEachNewestFirst)
{
    RecentFileList recent;
    for (const char *path : { "/a.wav", "/b.wav", "/c.wav", "/d.wav", "/e.wav" })
        recent.add(path);
    EXPECT_EQ(recent.entries(),
              (std::vector<std::string> { "/e.wav", "/d.wav", "/c.wav", "/b.wav" }));
    recent.add("/c.wav");
    EXPECT_EQ(recent.entries().front(), "/c.wav");
    EXPECT_EQ(recent.entries().size(), 4u);
    recent.add("");
    EXPECT_EQ(recent.entries().size(), 4u);

    recent.assign({ "/x.wav", "", "/x.wav", "/y.wav", "/z.wav", "/v.wav", "/w.wav" });
    EXPECT_EQ(recent.entries(),
              (std::vector<std::string> { "/x.wav", "/y.wav", "/z.wav", "/v.wav" }));
}

TEST(DocumentName, OnlyASuccessfulSaveRenamesTheDocumentAndListsIt)
{
    DocumentName name { "/music/take1.wav" };
    RecentFileList recent;
    recent.add("/music/take1.wav");

    const auto failing = [](const std::string &) { return false; };
    EXPECT_FALSE(SaveDocumentAs(name, recent, "/readonly/take2.wav", failing));
    EXPECT_EQ(name.title(), "take1.wav");
    EXPECT_EQ(recent.entries(), (std::vector<std::string> { "/music/take1.wav" }));

    std::string written;
    const auto working = [&](const std::string &path) {
        written = path;
        return true;
    };
    EXPECT_TRUE(SaveDocumentAs(name, recent, "/music/take2.wav", working));
    EXPECT_EQ(written, "/music/take2.wav");
    EXPECT_EQ(name.title(), "take2.wav");
    EXPECT_EQ(recent.entries().front(), "/music/take2.wav");

    EXPECT_EQ(DocumentName {}.title(), "Untitled");
}

TEST(HyperlinkErrors, KnownCodesHaveTheirTextAndOthersTheirNumber)
{
    EXPECT_EQ(HyperlinkErrorMessage(2),
              "Unable to open hyperlink:\n\nThe specified file was not found.");
    EXPECT_EQ(HyperlinkErrorMessage(26),
              "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(HyperlinkErrorMessage(kNoAssociatedApplication),
              "Unable to open hyperlink:\n\nThere is no application associated\nwith the given "
              "filename extension.");
    EXPECT_EQ(HyperlinkErrorMessage(99),
              "Unable to open hyperlink:\n\nUnknown Error (99) occurred.");
}
