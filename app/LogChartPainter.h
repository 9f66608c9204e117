#pragma once

#include "PracticeCharts.h"

class QFont;
class QPainter;
class QRect;

namespace corvane {

// Draws the practice log's charts with `painter` into `area` (device units of the painter's
// device), the labels in `font`; the same code paints the print preview, the printer and a PDF.
// Only black, grays and white for the time bars: active is a dark solid bar inside the light
// elapsed bar, so the two part by width and shade, not by hue. Each note's line in the drift
// chart carries its name at its last point. UI thread (or any thread that owns the painter).

void PaintTimeChart(QPainter &painter, const QRect &area, const TimeChart &chart,
                    const QFont &font);

void PaintDriftChart(QPainter &painter, const QRect &area, const DriftChart &chart,
                     const QFont &font);

} // namespace corvane
