#include "BlockLength.h"
#include "AnalysisFixture.h"
#include "CTonrikDoc.h"
#include "RecentFileList.h"

#include "FileBytes.h"
#include "TempBandFiles.h"

#include <QSignalSpy>
#include <QTimer>

#include <chrono>
#include <fstream>

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
    EXPECT_EQ(doc.sampleCount(), static_cast<int32_t>(3.25 * kRate / hopLengthForRate(kRate)));
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

TEST_F(DocumentTest, AFileThatIsNotPcmIsRefusedWithItsMessageAndKeepsTheEarlierRecording)
{
    CTonrikDoc doc(m_program.settings, m_dir.path());
    ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(writeMelody().string())));
    const QString before = doc.title();
    writeWave(m_dir / "adpcm.wav", adpcmHeader(), std::vector<uint8_t>(4096, 0));
    EXPECT_FALSE(doc.OnOpenDocument(QString::fromStdString((m_dir / "adpcm.wav").string())));
    ASSERT_EQ(m_script.shown.size(), 1u);
    EXPECT_EQ(m_script.shown[0].text, QStringLiteral("Not a PCM Wave file"));
    EXPECT_EQ(m_script.shown[0].icon, Icon::Stop);
    EXPECT_TRUE(doc.isLoaded());
    EXPECT_EQ(doc.title(), before);
}

// Every file that cannot be opened whole says so in one box naming it, and the recording the
// document had stays; one that can be opened in part opens with a note of how much was read.
TEST_F(DocumentTest, DamagedFilesAreSaidOnceAndNeverOpenSilently)
{
    CTonrikDoc doc(m_program.settings, m_dir.path());
    ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(writeMelody().string())));
    const int32_t before = doc.sampleCount();
    const auto melody = test::fileBytes(m_dir / "melody.wav");
    const auto header = std::vector<uint8_t>(melody.begin(), melody.begin() + 44);
    const auto save = [this](const std::string &name, const std::vector<uint8_t> &bytes) {
        test::Bytes().raw(bytes).save(m_dir / name);
        return QString::fromStdString((m_dir / name).string());
    };
    const struct
    {
        QString path;
        bool opens;
        const char *says;
    } cases[] = {
        // No data chunk: one box, never a second one about descending into the file.
        { save("nodata.wav",
               test::Bytes()
                       .tag("RIFF")
                       .u32(28)
                       .tag("WAVE")
                       .raw(std::vector<uint8_t>(melody.begin() + 12, melody.begin() + 36))
                       .bytes()),
          false, "no 'data' chunk" },
        // A header and 100 frames: less than one block.
        { save("short.wav",
               [&] {
                   auto bytes = header;
                   bytes.resize(44 + 200, 0);
                   return bytes;
               }()),
          false, "holds no sound to analyze" },
        // Cut short: its header promises more than it holds.
        { save("cut.wav", std::vector<uint8_t>(melody.begin(), melody.begin() + 44 + 20000)), true,
          "but the file holds 20000" },
        // A take killed before its header's sizes were written.
        { save("killed.wav",
               [&] {
                   auto bytes = melody;
                   std::fill(bytes.begin() + 4, bytes.begin() + 8, 0);
                   std::fill(bytes.begin() + 40, bytes.begin() + 44, 0);
                   return bytes;
               }()),
          true, "recovered" },
    };
    for (const auto &c : cases) {
        m_script.shown.clear();
        ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(writeMelody().string())));
        m_script.shown.clear();
        EXPECT_EQ(doc.OnOpenDocument(c.path), c.opens) << c.says;
        ASSERT_EQ(m_script.shown.size(), 1u) << c.says;
        EXPECT_TRUE(m_script.shown[0].text.contains(QString::fromLatin1(c.says)))
                << m_script.shown[0].text.toStdString();
        EXPECT_TRUE(m_script.shown[0].text.contains(c.path.section(QLatin1Char('/'), -1)));
        EXPECT_TRUE(doc.isLoaded());
        EXPECT_EQ(doc.title(),
                  c.opens ? c.path.section(QLatin1Char('/'), -1) : QStringLiteral("melody.wav"));
        if (!c.opens) {
            EXPECT_EQ(doc.sampleCount(), before);
        }
    }
    EXPECT_EQ(doc.sampleCount(), before); // the killed take holds the whole melody
}

// The band files live in a private folder under the base, which goes with its recording; what a
// killed run left there goes when the next document starts.
TEST_F(DocumentTest, BandFilesAreTheDocumentsOwnAndGoWithIt)
{
    const auto base = m_dir / "cache";
    std::filesystem::create_directory(base);
    std::filesystem::create_directory(base / "tonrik-dead01");
    std::ofstream(base / "tonrik-dead01" / "tnrk0000.tmp") << "left behind";
    std::ofstream(base / "tonrik-dead01" / ".lock");
    std::filesystem::last_write_time(base / "tonrik-dead01",
                                     std::filesystem::file_time_type::clock::now()
                                             - std::chrono::hours(1));
    const auto folders = [&base] {
        int n = 0;
        for (const auto &entry : std::filesystem::directory_iterator(base))
            n += entry.is_directory();
        return n;
    };
    {
        CTonrikDoc doc(m_program.settings, base);
        EXPECT_EQ(folders(), 0);
        ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(writeMelody().string())));
        EXPECT_EQ(doc.tempDir().parent_path(), base);
        EXPECT_TRUE(std::filesystem::exists(TempBandFiles::filePath(doc.tempDir(), 8)));
        EXPECT_FALSE(std::filesystem::exists(m_dir / "tnrk0000.tmp"));
        EXPECT_EQ(folders(), 1);
        // Another recording replaces the first, folder and all.
        ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(writeMelody("b.wav").string())));
        EXPECT_EQ(folders(), 1);
        doc.OnCloseDocument();
        EXPECT_EQ(folders(), 0);
        ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(writeMelody().string())));
        EXPECT_EQ(folders(), 1);
    }
    // At exit the document goes, and its folder with it.
    EXPECT_EQ(folders(), 0);
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

TEST_F(DocumentTest, EachAnalysisRunsInTheModeAndWithTheHopTheOptimizeDialogLastStored)
{
    CTonrikDoc doc(m_program.settings, m_dir.path());
    EXPECT_FALSE(doc.analysisSettings().classic); // no preferences file: the refined analysis

    EXPECT_FALSE(doc.analysisSettings().blockHop); // a sample per hop
    const int32_t hops = [&] {
        EXPECT_TRUE(doc.OnOpenDocument(QString::fromStdString(writeMelody().string())));
        return doc.sampleCount();
    }();

    AnalyzerPreferences classic;
    classic.classic = true;
    classic.blockHop = true;
    ASSERT_TRUE(classic.save(AnalyzerPreferences::kFileName));
    EXPECT_TRUE(doc.analysisSettings().classic);
    ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(writeMelody().string())));
    EXPECT_TRUE(m_script.shown.empty());
    EXPECT_EQ(doc.sampleCount(), hops * 256 / 1024) << "a sample per block";

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
