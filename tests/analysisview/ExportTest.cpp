#include "AnalysisExport.h"
#include "AnalysisPicture.h"
#include "AnalysisFixture.h"
#include "AnalysisReport.h"
#include "AnalyzerPreferences.h"
#include "CTonrikDoc.h"
#include "CTonrikView.h"
#include "CsvText.h"

#include <QImage>

#include <cmath>
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
