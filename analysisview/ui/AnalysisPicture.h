#pragma once

#include <QRect>
#include <QString>

#include <cstdint>

class QPainter;

namespace corvane {

class BeatGrid;
class PaneLayout;
struct PaneContext;

// The whole stack of panes with the timing grid and the play cursor over it: what the view
// shows, and what images, PDF files and the command line export. One render for all of them.
class AnalysisPicture
{
public:
    struct Overlay
    {
        const BeatGrid *grid = nullptr; // null: no timing marks
        bool playing = false;
        int32_t playBlock = 0;
        bool bpmShown = false;
        QRect bpmRect;
        QString bpmText;
    };

    // Paints the panes of `layout` from y = -verticalOffset down, x = 0 .. context.right, then
    // the overlay. Only what intersects the painter's clip is drawn.
    static void render(QPainter &painter, const PaneLayout &layout, const PaneContext &context,
                       int verticalOffset, const Overlay &overlay);
};

} // namespace corvane
