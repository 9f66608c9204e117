#pragma once

#include "IntonationSummary.h"
#include "PicturePages.h"

#include <QString>

#include <optional>

class QWidget;

namespace corvane {

class BlockSelection;
class CTonrikDoc;
class CTonrikView;
class RecordingAnalysis;

// "Export...": the analysis as text or as a picture, chosen by the file's extension.
//  - ".csv": the notes, with the columns of `tonrik --analyze --notes` (start, duration, note,
//    mean cents, rest, unstable), or with `samples` one row per block as `tonrik --analyze`
//    prints them (time, pitch, level, voiced, stable, note, cents). Both come from the report
//    the command line prints (AnalysisReport), which describes the analysis as it ran (its
//    settings and note table), whatever the settings are now;
//  - ".summary.csv" (a name ending so): how in tune each degree and each note was played, the
//    CSV of `tonrik --analyze --summary`, over the whole recording;
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
            "Notes (*.csv);;Intonation summary (*.summary.csv);;Picture (*.png);;"
            "PDF document (*.pdf);;"
            "Picture of the whole recording (*.png);;PDF of the whole recording (*.pdf);;"
            "Picture of the selection (*.png);;PDF of the selection (*.pdf)";
    // The pinwheels' middle zone as the program ships, for callers without settings at hand.
    static constexpr double kDefaultInTuneCents = 4.0;
    // The widest PNG written: wider pictures are more than viewers and printers take.
    static constexpr int kMaxPngWidth = 16384;

    // The part of the recording a filter of kFilter asks for.
    static PictureRange rangeOfFilter(const QString &filter);

    // Writes `path`; a failure (nothing loaded, an unknown extension, a file that cannot be
    // written) shows a stop box over `parent` and returns false. `inTuneCents`: the half-width
    // of the in-tune zone the summary counts in.
    static bool exportTo(CTonrikDoc &doc, CTonrikView &view, const QString &path,
                         QWidget *parent = nullptr, bool samples = false,
                         PictureRange range = PictureRange::Visible,
                         double inTuneCents = kDefaultInTuneCents);

    // How in tune the loaded recording was played, over `selection` (moved back by the
    // analyzer's delay, as the view's blocks are) or over all of it when the selection is empty;
    // nothing when no analysis is loaded.
    static std::optional<IntonationSummary> intonationSummary(const RecordingAnalysis &analysis,
                                                              const BlockSelection &selection,
                                                              double inTuneCents);
    static bool writeSummaryCsv(const RecordingAnalysis &analysis, const QString &path,
                                double inTuneCents);

    // The CSV alone: `samples` one row per block, else one per note. False when nothing is
    // loaded or the file cannot be written.
    static bool writeCsv(const RecordingAnalysis &analysis, const QString &path, bool samples);
    static bool writePng(CTonrikView &view, const QString &path,
                         PictureRange range = PictureRange::Visible);
    static bool writePdf(CTonrikDoc &doc, CTonrikView &view, const QString &path,
                         PictureRange range = PictureRange::Visible);
};

} // namespace corvane
