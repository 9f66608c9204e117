#pragma once

#include <QPalette>

class QApplication;

namespace corvane::widgets {

// A dark palette for Qt's Fusion style: light ink on dark grounds, every role and the disabled
// group set, so no widget falls back to a light color of the default palette.
QPalette darkPalette();

// Puts the whole program in the dark palette (with the Fusion style, which follows palettes
// fully); does nothing when the platform's palette is dark already.
void useDarkPalette(QApplication &application);

// Puts a program that the platform draws dark back in Fusion's light palette; does nothing when
// the palette is light already.
void useLightPalette(QApplication &application);

// True when the palette's window ground is dark.
bool isDark(const QPalette &palette);

} // namespace corvane::widgets
