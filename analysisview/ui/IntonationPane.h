#pragma once

class QPainter;
class QRect;

namespace corvane {

struct PaneContext;

// How far each block lies from its note, within a quarter-tone either way, sharp upwards.
// One pane of the analysis view; the screen, images and printing share render().
class IntonationPane
{
public:
    // Paints the pane into `rect` (full width of the stack, the pane's height), clipped by the
    // caller. Reads reader pages of the analysis.
    static void render(QPainter &painter, const QRect &rect, const PaneContext &context);
};

} // namespace corvane
