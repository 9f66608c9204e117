#include "AnalysisExport.h"

#include "AnalysisReport.h"
#include "AnalysisSettings.h"
#include "CPitch.h"
#include "CTCDefs.h"
#include "CTonrikDoc.h"
#include "CTonrikView.h"
#include "MessageService.h"

#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <fstream>
#include <sstream>

namespace corvane {

namespace {

    std::string number(double value)
    {
        std::ostringstream out;
        out << value;
        return out.str();
    }

} // namespace

bool AnalysisExport::writeCsv(RecordingAnalysis &analysis, const QString &path, bool samples)
{
    if (!analysis.loaded())
        return false;
    const PcmFormat &format = analysis.blockFormat();
    const AnalysisSettings settings = AnalysisSettings::from(g_defs);
    AnalysisReport report;
    report.latencySeconds = analysis.maxDelay();
    report.settings = {
        { "filter_length", std::to_string(settings.filterLength) },
        { "sensitivity", std::to_string(settings.sensitivity) },
        { "lowest_hz", number(settings.lowestHz) },
        { "highest_hz", number(settings.highestHz) },
        { "reference_hz", number(g_pitch.Reference()) },
        { "noise_threshold", number(settings.noiseThreshold) },
        { "sample_rate", std::to_string(format.sampleRate) },
        { "channels", std::to_string(format.channels) },
        { "bits", std::to_string(format.bitsPerSample) },
        { "block_frames", std::to_string(format.blockLength) },
    };
    report.fill(analysis.samples(), analysis.noteRuns(),
                static_cast<double>(format.blockLength) / format.sampleRate);
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
