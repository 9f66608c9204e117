#include "AnalysisExport.h"

#include "AnalysisReport.h"
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
                              QWidget *parent, bool samples)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    RecordingAnalysis *analysis = doc.analysis();
    bool ok = false;
    if (suffix == QLatin1String("csv"))
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
