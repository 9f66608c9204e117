#pragma once

#include <QPalette>
#include <QRect>
#include <QString>

#include <cstdint>

class QPainter;

namespace corvane {

class BeatGrid;
class PaneLayout;
struct PaneContext;

// The whole stack of panes with the timing grid and the play cursor over it, and the time ruler
// under them: what the view shows, and what images, PDF files and the command line export. One
// render for all of them.
class AnalysisPicture
{
public:
    // The ruler: one row of minutes:seconds, and a row of bars and beats below it while the
    // timing grid is shown.
    static constexpr int kRulerRowHeight = 20;
    static int rulerHeight(bool timingShown) noexcept
    {
        return timingShown ? 2 * kRulerRowHeight : kRulerRowHeight;
    }
    // The panes of `layout` and the ruler under them.
    static int pictureHeight(const PaneLayout &layout);

    struct Overlay
    {
        const BeatGrid *grid = nullptr; // null: no timing marks
        bool playing = false;
        int32_t playBlock = 0;
        bool bpmShown = false;
        QRect bpmRect;
        QString bpmText;
        bool ruler = false; // the ruler under the last pane
    };

    // Paints the panes of `layout` from y = -verticalOffset down, x = 0 .. context.right, then
    // the overlay. Only what intersects the painter's clip is drawn.
    static void render(QPainter &painter, const PaneLayout &layout, const PaneContext &context,
                       int verticalOffset, const Overlay &overlay);

    // The ruler in `rect` (x = 0 .. context.right as the panes): its label column, the clock
    // marks and, with `grid`, the bars and beats. Drawn in `palette`'s window colors, so that it
    // reads on a dark screen as on paper.
    static void renderRuler(QPainter &painter, const QRect &rect, const PaneContext &context,
                            const BeatGrid *grid, const QPalette &palette);
};

} // namespace corvane
