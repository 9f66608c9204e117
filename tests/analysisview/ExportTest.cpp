#include "AnalysisExport.h"
#include "AnalysisFixture.h"
#include "AnalysisReport.h"
#include "CTonrikDoc.h"
#include "CTonrikView.h"

#include <QImage>

#include <fstream>
#include <sstream>

using namespace corvane;
using namespace corvane::test;

using ExportTest = AnalysisFixture;

namespace {

std::string readText(const std::filesystem::path &path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The program's writer: the command line's report.
bool reportCsv(const RecordingAnalysis &analysis, std::ostream &out, bool samples)
{
    AnalysisReport report;
    report.describe(analysis, AnalysisSettings::from(CTCDefs {}));
    report.writeCsv(out, !samples);
    return true;
}

} // namespace

TEST_F(ExportTest, NotesGoToCsvAndThePanesToPngAndPdf)
{
    CTonrikDoc doc(m_program.settings, m_dir.path());
    CTonrikView view(doc, m_program);
    view.resize(700, 400);
    ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(writeMelody().string())));

    const auto csv = m_dir / "notes.csv";
    ASSERT_TRUE(
            AnalysisExport::exportTo(doc, view, QString::fromStdString(csv.string()), reportCsv));
    const std::string notes = readText(csv);
    EXPECT_NE(notes.find("start_s,duration_s,note,mean_cents,rest,unstable\n"), std::string::npos);
    EXPECT_NE(notes.find(",C4,"), std::string::npos);
    EXPECT_NE(notes.find(",C5,"), std::string::npos);

    ASSERT_TRUE(AnalysisExport::exportTo(doc, view,
                                         QString::fromStdString((m_dir / "s.csv").string()),
                                         reportCsv, nullptr, true));
    EXPECT_NE(readText(m_dir / "s.csv").find("time_s,pitch_hz,level,voiced,stable,note,cents\n"),
              std::string::npos);

    const auto png = m_dir / "view.png";
    ASSERT_TRUE(
            AnalysisExport::exportTo(doc, view, QString::fromStdString(png.string()), reportCsv));
    const QImage image(QString::fromStdString(png.string()));
    EXPECT_EQ(image.width(), view.viewport()->width());
    EXPECT_EQ(image.height(), view.layout().totalHeight());

    const auto pdf = m_dir / "view.pdf";
    ASSERT_TRUE(
            AnalysisExport::exportTo(doc, view, QString::fromStdString(pdf.string()), reportCsv));
    EXPECT_EQ(readText(pdf).rfind("%PDF", 0), 0u);
    EXPECT_TRUE(m_script.shown.empty());

    EXPECT_FALSE(
            AnalysisExport::exportTo(doc, view, QStringLiteral("/no/such/dir/n.csv"), reportCsv));
    EXPECT_FALSE(AnalysisExport::exportTo(
            doc, view, QString::fromStdString((m_dir / "x.txt").string()), reportCsv));
    ASSERT_EQ(m_script.shown.size(), 2u);
    EXPECT_EQ(m_script.shown[1].text, QStringLiteral("Unable to write to file."));
}
