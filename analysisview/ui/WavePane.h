#pragma once

class QPainter;
class QRect;

namespace corvane {

struct PaneContext;

// The recorded signal, shifted by the analyzer's delay so that it lines up with the blocks
// above it. One pane of the analysis view; the screen, images and printing share render().
class WavePane
{
public:
    // Paints the pane into `rect` (full width of the stack, the pane's height), clipped by the
    // caller. Reads reader pages of the analysis.
    static void render(QPainter &painter, const QRect &rect, const PaneContext &context);
};

} // namespace corvane
