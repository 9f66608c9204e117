#pragma once

#include <QFont>

namespace corvane::tuner {

// The tuner draws its texts in a plain sans-serif face. Sizes are given as the height of a line
// of text in pixels (ascent plus descent), as the wheel and meter layouts measure them.
QFont TunerFont(int lineHeight, QFont::Weight weight);

} // namespace corvane::tuner
