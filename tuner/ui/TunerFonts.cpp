#include "TunerFonts.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace corvane::tuner {

QFont TunerFont(int lineHeight, QFont::Weight weight)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(weight);
    // A pixel size is the em; a line is taller by the face's own leading. Measure it once at a
    // known size and scale, so any installed face gives the asked line height.
    font.setPixelSize(100);
    const double line = QFontMetricsF(font).height();
    const double em = line > 0.0 ? 100.0 * lineHeight / line : lineHeight * 0.86;
    font.setPixelSize(std::max(1, int(std::lround(em))));
    return font;
}

} // namespace corvane::tuner
