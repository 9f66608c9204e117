// Figures for the analysis view on a long recording: how long the document takes to open,
// the peak memory of the process, and how long one full-width paint of every pane takes at
// each zoom, at the start, the middle and the end of the recording:
//     QT_QPA_PLATFORM=offscreen corvane_view_figures LONG.wav [WIDTH=1920]

#include "CTonrikDoc.h"
#include "CTonrikView.h"
#include "PaneLayout.h"
#include "ProgramState.h"
#include "TimeAxis.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

long peakKiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s LONG.wav [WIDTH]\n", argv[0]);
        return 2;
    }
    const int width = argc > 2 ? std::atoi(argv[2]) : 1920;
    corvane::ProgramState program;
    corvane::CTonrikDoc doc(program.settings, std::filesystem::current_path());
    corvane::CTonrikView view(doc, program);
    view.resize(width, 1000);
    view.setViewPanes(31 | corvane::PaneLayout::kTimingBit);

    const auto openStart = Clock::now();
    if (!doc.OnOpenDocument(QString::fromLocal8Bit(argv[1])))
        return 1;
    std::printf("open: %.1f s for %d blocks; peak memory after open %ld KiB\n",
                msSince(openStart) / 1000.0, doc.sampleCount(), peakKiB());

    QImage image(view.viewport()->width(), view.layout().totalHeight(), QImage::Format_RGB32);
    for (int zoom = 0; zoom < corvane::TimeAxis::kZoomCount; ++zoom) {
        while (view.axis().zoomIndex() > zoom && view.zoomOut()) { }
        while (view.axis().zoomIndex() < zoom && view.zoomIn()) { }
        QScrollBar *bar = view.horizontalScrollBar();
        double worst = 0.0;
        double total = 0.0;
        for (int place : { 0, bar->maximum() / 2, bar->maximum() }) {
            bar->setValue(place);
            for (int step = 0; step < 3; ++step) { // a short scroll: pages are loaded afresh
                bar->setValue(bar->value() + bar->pageStep() / 4);
                const auto start = Clock::now();
                QPainter painter(&image);
                view.renderTo(painter, image.width());
                painter.end();
                const double ms = msSince(start);
                worst = std::max(worst, ms);
                total += ms;
            }
        }
        std::printf("zoom %d px/%d blocks: full-width paint %.1f ms average, %.1f ms worst\n",
                    view.axis().columnsPerBlock(), view.axis().blocksPerColumn(), total / 9, worst);
    }
    std::printf("peak memory: %ld KiB\n", peakKiB());
    return 0;
}
