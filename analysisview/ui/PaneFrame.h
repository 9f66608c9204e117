#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QPainter;

namespace corvane {

struct PaneContext;

// The frame the intonation, volume, wave and octave-band panes share: a gray label column with a
// sunken bevel, the data area from x = 101 with the same bevel in the pane's background, and the
// selection shaded over it.
class PaneFrame
{
public:
    static const QColor kFace;      // RGB(192, 192, 192)
    static const QColor kShadow;    // RGB(128, 128, 128)
    static const QColor kHighlight; // RGB(223, 223, 223)
    static const QColor kSelection; // RGB(150, 150, 150)
    static constexpr int kLabelRight = 95;

    // Label column, data area and selection of the pane `rect`.
    static void draw(QPainter &painter, const QRect &rect, const QColor &background,
                     const PaneContext &context);
    // Shades the selection inside the data area of `rect`.
    static void drawSelection(QPainter &painter, const QRect &rect, const PaneContext &context);
    // `text` right-aligned on its baseline at x = 95, in the painter's pen.
    static void label(QPainter &painter, int baseline, const QString &text);
    // The pane's data area: x = 101 to the right edge.
    static QRect dataArea(const QRect &rect, const PaneContext &context);
};

} // namespace corvane
