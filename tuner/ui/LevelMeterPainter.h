#pragma once

#include "LevelMeter.h"

class QPainter;

namespace corvane::tuner {

// Paints a meter picture in the painter's coordinates: black frame, gray trough, bar, peak
// marker, the white scale ticks and the two labels. Leaves the painter's state as it found it.
void PaintLevelMeter(QPainter &painter, const LevelMeterPicture &picture);

} // namespace corvane::tuner
