#pragma once

#include "ServiceOverride.h"

#include <QColor>

#include <optional>

class QWidget;

namespace corvane::widgets {

// The colour chooser every window opens through, so that tests can answer it without a screen
// and without a modal loop. The windows call `colourChooser()`; the program uses Qt's colour
// dialog, tests install a `ScriptedColourChooser` (tests/support) with `ColourChooserOverride`.
//
// UI thread only.
class ColourChooser
{
public:
    virtual ~ColourChooser() = default;
    // Lets the user pick a colour, starting from `initial`; nothing when the user cancels.
    virtual std::optional<QColor> choose(QWidget *parent, const QColor &initial) = 0;
};

// The chooser the windows use now: Qt's unless a test has installed its own.
ColourChooser &colourChooser();

// Installs a chooser for the lifetime of the override.
using ColourChooserOverride = ServiceOverride<ColourChooser>;
template<>
ColourChooser *&ServiceOverride<ColourChooser>::slot();

} // namespace corvane::widgets
