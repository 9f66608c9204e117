#include "AnalysisFixture.h"
#include "CTonrikDoc.h"
#include "RecentFileList.h"

#include <QSignalSpy>
#include <QTimer>

using namespace corvane;
using namespace corvane::test;
using Icon = widgets::MessageService::Icon;

using DocumentTest = AnalysisFixture;

TEST_F(DocumentTest, OpeningAWaveFileAnalyzesItOnAWorkerAndNamesTheDocument)
{
    CTonrikDoc doc(m_program.settings, m_dir.path());
    EXPECT_EQ(doc.title(), QStringLiteral("Untitled"));
    QSignalSpy changed(&doc, &CTonrikDoc::contentsChanged);
    const std::filesystem::path path = writeMelody();
    ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(path.string())));
    EXPECT_FALSE(doc.analyzing());
    EXPECT_TRUE(doc.isLoaded());
    EXPECT_EQ(doc.sampleCount(), static_cast<int32_t>(3.25 * kRate / 1024));
    EXPECT_EQ(doc.title(), QStringLiteral("melody.wav"));
    EXPECT_GE(changed.count(), 1);
    EXPECT_TRUE(m_script.shown.empty());
    EXPECT_EQ(RecentFileList().files().value(0), doc.pathName());
    EXPECT_EQ(m_program.settings.GetCaptureFormat().sampleRate, static_cast<int32_t>(kRate));

    // Four notes: the analysis found them at their pitches.
    int notes = 0;
    for (const NoteRun &run : doc.analysis()->noteRuns())
        notes += !run.rest && !run.unstable && run.sampleCount >= 3;
    EXPECT_EQ(notes, 4);

    doc.OnNewDocument();
    EXPECT_FALSE(doc.isLoaded());
    EXPECT_EQ(doc.analysis(), nullptr);
    EXPECT_EQ(doc.title(), QStringLiteral("Untitled"));
}

TEST_F(DocumentTest, AFileThatIsNotPcmIsRefusedWithItsMessageAndLeavesTheDocumentEmpty)
{
    CTonrikDoc doc(m_program.settings, m_dir.path());
    ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(writeMelody().string())));
    const QString before = doc.title();
    writeWave(m_dir / "adpcm.wav", adpcmHeader(), std::vector<uint8_t>(4096, 0));
    EXPECT_FALSE(doc.OnOpenDocument(QString::fromStdString((m_dir / "adpcm.wav").string())));
    ASSERT_EQ(m_script.shown.size(), 1u);
    EXPECT_EQ(m_script.shown[0].text, QStringLiteral("Not a PCM Wave file"));
    EXPECT_EQ(m_script.shown[0].icon, Icon::Stop);
    EXPECT_FALSE(doc.isLoaded());
    EXPECT_EQ(doc.title(), before);
}

TEST_F(DocumentTest, CancelStopsTheAnalysisAndKeepsNothing)
{
    CTonrikDoc doc(m_program.settings, m_dir.path());
    const std::filesystem::path path = writeMelody("long.wav", 40); // two minutes
    // The first turn of the event loop inside the open is the user pressing Cancel.
    QTimer::singleShot(0, &doc, [&doc] { doc.cancelAnalysis(); });
    EXPECT_FALSE(doc.OnOpenDocument(QString::fromStdString(path.string())));
    EXPECT_FALSE(doc.isLoaded());
    EXPECT_TRUE(m_script.shown.empty());
}

TEST_F(DocumentTest, SavingWritesARecordingThatOpensToTheSameAnalysis)
{
    CTonrikDoc doc(m_program.settings, m_dir.path());
    ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(writeMelody().string())));
    const int32_t blocks = doc.sampleCount();
    const QString saved = QString::fromStdString((m_dir / "copy.wav").string());
    ASSERT_TRUE(doc.OnSaveDocument(saved));
    EXPECT_EQ(doc.title(), QStringLiteral("copy.wav"));
    EXPECT_EQ(RecentFileList().files().value(0), doc.pathName());

    CTonrikDoc reopened(m_program.settings, m_dir.path());
    ASSERT_TRUE(reopened.OnOpenDocument(saved));
    EXPECT_EQ(reopened.sampleCount(), blocks);

    EXPECT_FALSE(doc.OnSaveDocument(QString::fromStdString((m_dir / "no/such/dir.wav").string())));
    ASSERT_EQ(m_script.shown.size(), 1u);
    EXPECT_TRUE(m_script.shown[0].text.startsWith(QStringLiteral("Unable to open file.\n")));
    EXPECT_TRUE(m_script.shown[0].text.contains(QStringLiteral("no/such/dir.wav")));
}

TEST_F(DocumentTest, EachAnalysisRunsInTheModeTheOptimizeDialogLastStored)
{
    CTonrikDoc doc(m_program.settings, m_dir.path());
    EXPECT_FALSE(doc.analysisSettings().classic); // no preferences file: the refined analysis

    AnalyzerPreferences classic;
    classic.classic = true;
    ASSERT_TRUE(classic.save(AnalyzerPreferences::kFileName));
    EXPECT_TRUE(doc.analysisSettings().classic);
    ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(writeMelody().string())));
    EXPECT_TRUE(m_script.shown.empty());

    ASSERT_TRUE(AnalyzerPreferences {}.save(AnalyzerPreferences::kFileName));
    EXPECT_FALSE(doc.analysisSettings().classic);
}

TEST(RecentFileList, KeepsFourNewestFirstWithoutDuplicates)
{
    RecentFileList list;
    for (const char *name : { "/a.wav", "/b.wav", "/c.wav", "/d.wav", "/e.wav", "/c.wav" })
        list.add(QString::fromLatin1(name));
    EXPECT_EQ(list.files(), (QStringList { "/c.wav", "/e.wav", "/d.wav", "/b.wav" }));
    list.remove(QStringLiteral("/e.wav"));
    EXPECT_EQ(list.files(), (QStringList { "/c.wav", "/d.wav", "/b.wav" }));
}
