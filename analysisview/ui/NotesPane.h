#pragma once

class QPainter;
class QRect;

namespace corvane {

struct PaneContext;

// The notes on a staff: clef, key signature, a head (and its sign and ledger lines) at the
// first block of every steady note. One pane of the analysis view; the screen, images and printing
// share render().
class NotesPane
{
public:
    // Paints the pane into `rect` (full width of the stack, the pane's height), clipped by the
    // caller. Reads reader pages of the analysis.
    static void render(QPainter &painter, const QRect &rect, const PaneContext &context);
};

} // namespace corvane
