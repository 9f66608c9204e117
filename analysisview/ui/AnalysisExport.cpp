#include "AnalysisExport.h"

#include "AnalysisReport.h"
#include "BlockSelection.h"
#include "CTonrikDoc.h"
#include "CTonrikView.h"
#include "MessageService.h"

#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <fstream>

namespace corvane {

bool AnalysisExport::writeCsv(const RecordingAnalysis &analysis, const QString &path, bool samples)
{
    if (!analysis.loaded())
        return false;
    AnalysisReport report;
    report.describe(analysis);
    std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    report.writeCsv(out, !samples);
    out.flush();
    return static_cast<bool>(out);
}

std::optional<IntonationSummary> AnalysisExport::intonationSummary(
        const RecordingAnalysis &analysis, const BlockSelection &selection, double inTuneCents)
{
    if (!analysis.loaded())
        return std::nullopt;
    AnalysisReport report;
    report.describe(analysis);
    if (selection.empty())
        return IntonationSummary::of(report, inTuneCents);
    const double blockSeconds =
            double(analysis.blockFormat().blockLength) / analysis.blockFormat().sampleRate;
    return IntonationSummary::of(report, inTuneCents,
                                 selection.start() * blockSeconds - report.latencySeconds,
                                 selection.end() * blockSeconds - report.latencySeconds);
}

bool AnalysisExport::writeSummaryCsv(const RecordingAnalysis &analysis, const QString &path,
                                     double inTuneCents)
{
    const auto summary = intonationSummary(analysis, BlockSelection(), inTuneCents);
    if (!summary)
        return false;
    std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    summary->writeCsv(out);
    out.flush();
    return static_cast<bool>(out);
}

bool AnalysisExport::writePng(CTonrikView &view, const QString &path)
{
    return view.renderImage().save(path, "PNG");
}

bool AnalysisExport::writePdf(CTonrikView &view, const QString &path)
{
    const QImage image = view.renderImage();
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setTitle(QStringLiteral("Analysis"));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const QRect page = painter.viewport();
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(page.topLeft(), size), image);
    return painter.end();
}

bool AnalysisExport::exportTo(CTonrikDoc &doc, CTonrikView &view, const QString &path,
                              QWidget *parent, bool samples, double inTuneCents)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    RecordingAnalysis *analysis = doc.analysis();
    bool ok = false;
    if (path.endsWith(QLatin1String(".summary.csv"), Qt::CaseInsensitive))
        ok = analysis && writeSummaryCsv(*analysis, path, inTuneCents);
    else if (suffix == QLatin1String("csv"))
        ok = analysis && writeCsv(*analysis, path, samples);
    else if (suffix == QLatin1String("png"))
        ok = writePng(view, path);
    else if (suffix == QLatin1String("pdf"))
        ok = writePdf(view, path);
    if (!ok)
        widgets::messages().error(parent, QStringLiteral("Unable to write to file."));
    return ok;
}

} // namespace corvane
