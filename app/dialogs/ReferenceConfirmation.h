#pragma once

class QWidget;

namespace corvane::dialogs {

// The check both reference dialogs run on OK: a reference that is no usable frequency is refused
// with a message; one 50 cents or more from 440 Hz asks "Warning" with OK and Cancel. True when
// the reference may be stored. UI thread only; boxes go through widgets::messages().
bool ConfirmReference(QWidget *parent, double hz);

// The same for a degree's adjustment in cents: refused beyond what the settings can keep, asked
// about at 50 cents or more.
bool ConfirmAdjustment(QWidget *parent, double cents);

} // namespace corvane::dialogs
