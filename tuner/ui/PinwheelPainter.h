#pragma once

#include "WheelState.h"

class QPainter;
class QRect;

namespace corvane::tuner {

// Paints one wheel picture filling `rect`: the background of its degree, the bevelled rim, the
// face, the four blades and the texts "b<", ">#" and the name with its shadow. The wheel window,
// the color dialog's previews and the pictures for the documentation all paint through this.
// `fontWidth` is the width the text sizes follow (the tuner uses wheel 0's so all names match);
// 0 takes the rect's own. Antialiased; leaves the painter's state as it found it.
void PaintPinwheel(QPainter &painter, const WheelPicture &picture, const QRect &rect,
                   int fontWidth = 0);

} // namespace corvane::tuner
