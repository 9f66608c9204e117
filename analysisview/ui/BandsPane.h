#pragma once

class QPainter;
class QRect;

namespace corvane {

struct PaneContext;

// The eight octave bands the analyzer split the signal into, highest first. One pane of the
// analysis view; the screen, images and printing share render().
class BandsPane
{
public:
    // Paints the pane into `rect` (full width of the stack, the pane's height), clipped by the
    // caller. Reads reader pages of the analysis.
    static void render(QPainter &painter, const QRect &rect, const PaneContext &context);
};

} // namespace corvane
