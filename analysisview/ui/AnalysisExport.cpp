#include "AnalysisExport.h"

#include "AnalysisPicture.h"
#include "AnalysisReport.h"
#include "BlockSelection.h"
#include "CTonrikDoc.h"
#include "CTonrikView.h"
#include "MessageService.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
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

namespace {

    // The blocks a picture of `range` shows: [first, end).
    std::pair<int32_t, int32_t> blocksOf(const CTonrikView &view, PictureRange range)
    {
        const BlockSelection &selection = view.selection();
        if (range == PictureRange::Selection && !selection.empty())
            return { selection.start(), std::min(selection.end(), view.axis().sampleCount()) };
        return { 0, view.axis().sampleCount() };
    }

} // namespace

PictureRange AnalysisExport::rangeOfFilter(const QString &filter)
{
    if (filter.contains(QLatin1String("whole recording")))
        return PictureRange::Whole;
    if (filter.contains(QLatin1String("selection")))
        return PictureRange::Selection;
    return PictureRange::Visible;
}

bool AnalysisExport::writePng(CTonrikView &view, const QString &path, PictureRange range)
{
    if (range == PictureRange::Visible)
        return view.renderImage().save(path, "PNG");
    const auto [first, end] = blocksOf(view, range);
    if (end <= first)
        return false;
    // The view's zoom when the picture stays within the widest PNG, else the nearest that does.
    const int zoom =
            std::min(view.axis().zoomIndex(),
                     TimeAxis::fittingZoom(end - first, kMaxPngWidth - TimeAxis::kDataLeft - 1));
    return view.renderSpan(first, end - first, zoom).save(path, "PNG");
}

bool AnalysisExport::writePdf(CTonrikDoc &doc, CTonrikView &view, const QString &path,
                              PictureRange range)
{
    const QString name = QFileInfo(doc.title()).fileName();
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setTitle(name);
    writer.setCreator(QStringLiteral("Corvane"));
    if (range == PictureRange::Visible) {
        const QImage image = view.renderImage();
        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        const QRect page = painter.viewport();
        const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
        painter.drawImage(QRect(page.topLeft(), size), image);
        return painter.end();
    }

    const auto [first, end] = blocksOf(view, range);
    const TimeAxis &axis = view.axis();
    const std::vector<PageSpan> pages =
            PicturePages::pages(first, end, std::max(axis.pageBlocks(), 1), axis.blocksPerColumn());
    if (pages.empty())
        return false;
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const QRect page = painter.viewport();
    QFont font = painter.font();
    font.setPointSizeF(10);
    painter.setFont(font);
    const int captionHeight = QFontMetrics(font, &writer).height() * 2;
    // Every page at one scale, that of a full page, so that a second takes the same width on
    // each; the last page may end short.
    const int fullWidth =
            TimeAxis::kDataLeft + 1 + static_cast<int>(axis.columnsOf(pages[0].count));
    const int pictureHeight = AnalysisPicture::pictureHeight(view.layout());
    const double scale = std::min(double(page.width()) / fullWidth,
                                  double(page.height() - captionHeight) / pictureHeight);
    const double spb = axis.secondsPerBlock();
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !writer.newPage())
            return false;
        const PageSpan &span = pages[i];
        const std::string caption =
                PicturePages::caption(name.toStdString(), std::max(span.first, first) * spb,
                                      std::min(span.first + span.count, end) * spb,
                                      static_cast<int>(i) + 1, static_cast<int>(pages.size()));
        painter.setPen(Qt::black);
        painter.drawText(QRect(page.left(), page.top(), page.width(), captionHeight),
                         Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(caption));
        const QImage image = view.renderSpan(span.first, span.count);
        painter.drawImage(QRectF(page.left(), page.top() + captionHeight, image.width() * scale,
                                 image.height() * scale),
                          image);
    }
    return painter.end();
}

bool AnalysisExport::exportTo(CTonrikDoc &doc, CTonrikView &view, const QString &path,
                              QWidget *parent, bool samples, PictureRange range, double inTuneCents)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    RecordingAnalysis *analysis = doc.analysis();
    bool ok = false;
    if (path.endsWith(QLatin1String(".summary.csv"), Qt::CaseInsensitive))
        ok = analysis && writeSummaryCsv(*analysis, path, inTuneCents);
    else if (suffix == QLatin1String("csv"))
        ok = analysis && writeCsv(*analysis, path, samples);
    else if (suffix == QLatin1String("png"))
        ok = writePng(view, path, range);
    else if (suffix == QLatin1String("pdf"))
        ok = writePdf(doc, view, path, range);
    if (!ok)
        widgets::messages().error(parent, QStringLiteral("Unable to write to file."));
    return ok;
}

} // namespace corvane
