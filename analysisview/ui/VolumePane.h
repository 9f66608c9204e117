#pragma once

class QPainter;
class QRect;

namespace corvane {

struct PaneContext;

// The level of every block as a bar about the center line, and a red line where each steady
// note starts. One pane of the analysis view; the screen, images and printing share render().
class VolumePane
{
public:
    // Paints the pane into `rect` (full width of the stack, the pane's height), clipped by the
    // caller. Reads reader pages of the analysis.
    static void render(QPainter &painter, const QRect &rect, const PaneContext &context);
};

} // namespace corvane
