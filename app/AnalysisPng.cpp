#include "AnalysisPng.h"

#include "AnalysisPicture.h"
#include "BlockSelection.h"
#include "PaneContext.h"
#include "PaneLayout.h"
#include "RecordingAnalysis.h"
#include "TimeAxis.h"
#include "Version.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace corvane {

namespace {

    std::string seconds(double value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f s", value);
        return text;
    }

} // namespace

bool writeAnalysisPng(RecordingAnalysis &analysis, const KeyContext &keys,
                      const AnalyzeOptions &options, std::ostream &err)
{
    const PcmFormat &format = analysis.blockFormat();
    const int32_t blocks = analysis.sampleCount();
    int width = options.pngWidth > 0 ? options.pngWidth : kAutoPngWidth;
    const int zoom = TimeAxis::fittingZoom(blocks, width - TimeAxis::kDataLeft);
    if (options.pngWidth <= 0) {
        // Room for the recording and a block's margin behind it, no more.
        const TimeAxis::ZoomStep step = TimeAxis::kZoomSteps[static_cast<std::size_t>(zoom)];
        const int64_t needed = TimeAxis::kDataLeft
                + (int64_t { blocks } + step.blocks) * step.pixels / step.blocks;
        width = static_cast<int>(std::clamp<int64_t>(needed, kMinAutoPngWidth, kAutoPngWidth));
    }
    TimeAxis axis;
    axis.setFormat(format.blockLength, format.sampleRate);
    axis.setSampleCount(blocks);
    axis.setDataWidth(width - TimeAxis::kDataLeft);
    axis.setZoomIndex(zoom);
    if (axis.pageBlocks() < analysis.sampleCount()) {
        err << kProgramName << ": " << options.pngFile << " shows the first "
            << seconds(axis.pageBlocks() * axis.secondsPerBlock()) << " of "
            << seconds(analysis.sampleCount() * axis.secondsPerBlock())
            << "; a wider picture (--width) shows more\n";
    }

    const PaneLayout layout;
    const BlockSelection selection;
    const PaneContext context { &analysis, axis,   selection, keys, analysis.noteTable(),
                                width - 1, nullptr };
    QImage image(width, AnalysisPicture::pictureHeight(layout), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        AnalysisPicture::Overlay overlay;
        overlay.ruler = true;
        AnalysisPicture::render(painter, layout, context, 0, overlay);
    }
    if (!image.save(QString::fromLocal8Bit(options.pngFile.c_str()), "PNG")) {
        err << kProgramName << ": cannot write the picture " << options.pngFile << '\n';
        return false;
    }
    return true;
}

} // namespace corvane
