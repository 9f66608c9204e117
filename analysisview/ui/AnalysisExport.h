#pragma once

#include "PicturePages.h"

#include <QString>

class QWidget;

namespace corvane {

class CTonrikDoc;
class CTonrikView;
class RecordingAnalysis;

// "Export...": the analysis as text or as a picture, chosen by the file's extension.
//  - ".csv": the notes, with the columns of `tonrik --analyze --notes` (start, duration, note,
//    mean cents, rest, unstable), or with `samples` one row per block as `tonrik --analyze`
//    prints them (time, pitch, level, voiced, stable, note, cents). Both come from the report
//    the command line prints (AnalysisReport), which describes the analysis as it ran (its
//    settings and note table), whatever the settings are now;
//  - ".png": the panes and the ruler under them, the whole stack tall: of the visible part at
//    the view's width and scroll position, or of the whole recording or the selection at the
//    view's zoom (zoomed out as far as needed to stay within kMaxPngWidth pixels);
//  - ".pdf": the visible part on one page, scaled to fit; or the whole recording or the
//    selection at the view's zoom, a view's width to a page over as many pages as it takes,
//    each headed by the file's name, the page's time range and its number.
// User-interface thread.
class AnalysisExport
{
public:
    static constexpr const char *kFilter =
            "Notes (*.csv);;Picture (*.png);;PDF document (*.pdf);;"
            "Picture of the whole recording (*.png);;PDF of the whole recording (*.pdf);;"
            "Picture of the selection (*.png);;PDF of the selection (*.pdf)";
    // The widest PNG written: wider pictures are more than viewers and printers take.
    static constexpr int kMaxPngWidth = 16384;

    // The part of the recording a filter of kFilter asks for.
    static PictureRange rangeOfFilter(const QString &filter);

    // Writes `path`; a failure (nothing loaded, an unknown extension, a file that cannot be
    // written) shows a stop box over `parent` and returns false.
    static bool exportTo(CTonrikDoc &doc, CTonrikView &view, const QString &path,
                         QWidget *parent = nullptr, bool samples = false,
                         PictureRange range = PictureRange::Visible);

    // The CSV alone: `samples` one row per block, else one per note. False when nothing is
    // loaded or the file cannot be written.
    static bool writeCsv(const RecordingAnalysis &analysis, const QString &path, bool samples);
    static bool writePng(CTonrikView &view, const QString &path,
                         PictureRange range = PictureRange::Visible);
    static bool writePdf(CTonrikDoc &doc, CTonrikView &view, const QString &path,
                         PictureRange range = PictureRange::Visible);
};

} // namespace corvane
