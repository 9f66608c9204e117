#include "AnalysisExport.h"
#include "AnalysisPicture.h"
#include "AnalysisFixture.h"
#include "AnalysisReport.h"
#include "AnalyzerPreferences.h"
#include "CTonrikDoc.h"
#include "CTonrikView.h"
#include "CsvText.h"
#include "PdfReading.h"

#include <QImage>
#include <QTest>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace corvane;
using namespace corvane::test;

using ExportTest = AnalysisFixture;

TEST_F(ExportTest, NotesGoToCsvAndThePanesToPngAndPdf)
{
    CTonrikDoc doc(m_program.settings, m_dir.path());
    CTonrikView view(doc, m_program);
    view.resize(700, 400);
    ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(writeMelody().string())));

    const auto csv = m_dir / "notes.csv";
    ASSERT_TRUE(AnalysisExport::exportTo(doc, view, QString::fromStdString(csv.string())));
    const std::string notes = fileText(csv);
    EXPECT_NE(notes.find("start_s,duration_s,note,mean_cents,rest,unstable\n"), std::string::npos);
    EXPECT_NE(notes.find(",C4,"), std::string::npos);
    EXPECT_NE(notes.find(",C5,"), std::string::npos);

    ASSERT_TRUE(AnalysisExport::exportTo(
            doc, view, QString::fromStdString((m_dir / "s.csv").string()), nullptr, true));
    EXPECT_NE(fileText(m_dir / "s.csv").find("time_s,pitch_hz,level,voiced,stable,note,cents\n"),
              std::string::npos);

    const auto png = m_dir / "view.png";
    ASSERT_TRUE(AnalysisExport::exportTo(doc, view, QString::fromStdString(png.string())));
    const QImage image(QString::fromStdString(png.string()));
    EXPECT_EQ(image.width(), view.viewport()->width());
    EXPECT_EQ(image.height(), AnalysisPicture::pictureHeight(view.layout()));

    const auto pdf = m_dir / "view.pdf";
    ASSERT_TRUE(AnalysisExport::exportTo(doc, view, QString::fromStdString(pdf.string())));
    EXPECT_EQ(fileText(pdf).rfind("%PDF", 0), 0u);
    EXPECT_TRUE(m_script.shown.empty());

    EXPECT_FALSE(AnalysisExport::exportTo(doc, view, QStringLiteral("/no/such/dir/n.csv")));
    EXPECT_FALSE(AnalysisExport::exportTo(doc, view,
                                          QString::fromStdString((m_dir / "x.txt").string())));
    ASSERT_EQ(m_script.shown.size(), 2u);
    EXPECT_EQ(m_script.shown[1].text, QStringLiteral("Unable to write to file."));
}

// What is exported describes the analysis as it ran: settings changed after it (the reference,
// the sensitivity, the pitch analysis mode) move neither the rows nor the report they come from.
TEST_F(ExportTest, TheExportDescribesTheAnalysisAsItRanNotTheSettingsOfNow)
{
    m_program.settings.SetReferenceHz(442.0f);
    m_program.settings.SetSensitivity(1);
    AnalyzerPreferences classic;
    classic.classic = true;
    ASSERT_TRUE(classic.save(AnalyzerPreferences::kFileName));
    const auto a4 = m_dir / "a4.wav";
    writeWave(a4, waveHeader(1, kRate), pcmBytes(tone(440.0, 1.5, kRate), 1, 16));
    CTonrikDoc doc(m_program.settings, m_dir.path());
    CTonrikView view(doc, m_program);
    ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(a4.string())));

    m_program.settings.SetReferenceHz(440.0f);
    m_program.settings.SetSensitivity(3);
    ASSERT_TRUE(AnalyzerPreferences {}.save(AnalyzerPreferences::kFileName));

    const auto csv = m_dir / "samples.csv";
    ASSERT_TRUE(AnalysisExport::exportTo(doc, view, QString::fromStdString(csv.string()), nullptr,
                                         true));
    // 440 Hz lies 7.9 cents below the A4 of the 442 Hz reference the analysis ran on.
    std::istringstream rows(fileText(csv));
    int flatA4 = 0;
    for (std::string row; std::getline(rows, row);)
        flatA4 += cell(row, 5) == "A4" && std::abs(std::stod(cell(row, 6)) + 7.9) <= 0.15;
    EXPECT_GE(flatA4, 5);

    AnalysisReport report;
    report.describe(*doc.analysis());
    std::ostringstream comments;
    report.writeComments(comments);
    const std::string said = comments.str();
    EXPECT_NE(said.find(" sensitivity=1 "), std::string::npos) << said;
    EXPECT_NE(said.find(" reference_hz=442 "), std::string::npos) << said;
    EXPECT_NE(said.find(" pitch_mode=classic "), std::string::npos) << said;
}

TEST_F(ExportTest, TheWholeRecordingGoesOverAsManyPdfPagesAsItTakesEachWithItsCaption)
{
    CTonrikDoc doc(m_program.settings, m_dir.path());
    CTonrikView view(doc, m_program);
    view.resize(700, 400);
    // Six times the melody: 18.25 s, about 786 hops, 37 to a page at 16 pixels a hop.
    ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(writeMelody("long.wav", 6).string())));
    const TimeAxis &axis = view.axis();
    const int32_t perPage = axis.pageBlocks();
    ASSERT_GT(perPage, 30);
    const int expected = (doc.sampleCount() + perPage - 1) / perPage;
    ASSERT_GE(expected, 5);

    const auto pdf = m_dir / "whole.pdf";
    ASSERT_TRUE(AnalysisExport::exportTo(doc, view, QString::fromStdString(pdf.string()), nullptr,
                                         false, PictureRange::Whole));
    EXPECT_EQ(pdfPages(pdf), expected);
    const std::string first = pdfText(pdf, 1);
    EXPECT_NE(first.find("long.wav"), std::string::npos) << first;
    // A page of hops of 23 ms: a second or less.
    EXPECT_NE(first.find("0:00 to 0:0"), std::string::npos) << first;
    EXPECT_NE(first.find("page 1 of " + std::to_string(expected)), std::string::npos);
    const std::string last = pdfText(pdf, expected);
    EXPECT_NE(last.find("to 0:18"), std::string::npos) << last;
    EXPECT_NE(last.find("page " + std::to_string(expected) + " of " + std::to_string(expected)),
              std::string::npos);
    if (const char *docs = std::getenv("CORVANE_DOCS_DIR"))
        (void)commandOutput("pdftoppm -f 2 -l 2 -r 70 -png -singlefile '" + pdf.string() + "' '"
                            + docs + "/export-whole-recording-page'");

    // The selection: one page from its start; without one, the whole recording.
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(101 + 16 * 5, 50));
    QTest::mouseMove(view.viewport(), QPoint(101 + 16 * 25, 50));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(101 + 16 * 25, 50));
    ASSERT_EQ(view.selection().end() - view.selection().start(), 20);
    const auto part = m_dir / "part.pdf";
    ASSERT_TRUE(AnalysisExport::exportTo(doc, view, QString::fromStdString(part.string()), nullptr,
                                         false, PictureRange::Selection));
    EXPECT_EQ(pdfPages(part), 1);
    EXPECT_NE(pdfText(part, 1).find("long.wav 0:00 to 0:01 page 1 of 1"), std::string::npos)
            << pdfText(part, 1);
    const auto png = m_dir / "part.png";
    ASSERT_TRUE(AnalysisExport::exportTo(doc, view, QString::fromStdString(png.string()), nullptr,
                                         false, PictureRange::Selection));
    EXPECT_EQ(QImage(QString::fromStdString(png.string())).width(), 101 + 20 * 16 + 1);
    EXPECT_TRUE(m_script.shown.empty());
}

TEST_F(ExportTest, AWholeRecordingPngStaysWithinTheWidestPictureAndTheFiltersSayWhatTheyShow)
{
    CTonrikDoc doc(m_program.settings, m_dir.path());
    CTonrikView view(doc, m_program);
    view.resize(700, 400);
    ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(writeMelody("long.wav", 6).string())));
    const auto png = m_dir / "whole.png";
    ASSERT_TRUE(AnalysisExport::writePng(view, QString::fromStdString(png.string()),
                                         PictureRange::Whole));
    EXPECT_EQ(QImage(QString::fromStdString(png.string())).width(),
              101 + static_cast<int>(view.axis().columnsOf(doc.sampleCount())) + 1);
    while (view.zoomIn()) { } // 512 pixels a block would make 100,000 pixels
    ASSERT_TRUE(AnalysisExport::writePng(view, QString::fromStdString(png.string()),
                                         PictureRange::Whole));
    const QImage wide(QString::fromStdString(png.string()));
    EXPECT_LE(wide.width(), AnalysisExport::kMaxPngWidth);
    EXPECT_GT(wide.width(), AnalysisExport::kMaxPngWidth / 2);

    const QStringList filters = QString::fromLatin1(AnalysisExport::kFilter).split(";;");
    int whole = 0;
    int selection = 0;
    for (const QString &filter : filters) {
        whole += AnalysisExport::rangeOfFilter(filter) == PictureRange::Whole;
        selection += AnalysisExport::rangeOfFilter(filter) == PictureRange::Selection;
    }
    EXPECT_EQ(whole, 2);
    EXPECT_EQ(selection, 2);
    EXPECT_EQ(AnalysisExport::rangeOfFilter(filters[1]), PictureRange::Visible);
}
