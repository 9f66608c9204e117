#pragma once

#include "ServiceOverride.h"

#include <QColor>

#include <optional>

class QWidget;

namespace corvane::widgets {

// The color chooser every window opens through, so that tests can answer it without a screen
// and without a modal loop. The windows call `colorChooser()`; the program uses Qt's color
// dialog, tests install a `ScriptedColorChooser` (tests/support) with `ColorChooserOverride`.
//
// UI thread only.
class ColorChooser
{
public:
    virtual ~ColorChooser() = default;
    // Lets the user pick a color, starting from `initial`; nothing when the user cancels.
    virtual std::optional<QColor> choose(QWidget *parent, const QColor &initial) = 0;
};

// The chooser the windows use now: Qt's unless a test has installed its own.
ColorChooser &colorChooser();

// Installs a chooser for the lifetime of the override.
using ColorChooserOverride = ServiceOverride<ColorChooser>;
template<>
ColorChooser *&ServiceOverride<ColorChooser>::slot();

} // namespace corvane::widgets
