#pragma once

#include <optional>

class QString;
class QWidget;

namespace corvane::dialogs {

// The check both reference dialogs run on OK: a reference that is no usable frequency is refused
// with a message; one 50 cents or more from 440 Hz asks "Warning" with OK and Cancel. True when
// the reference may be stored. UI thread only; boxes go through widgets::messages().
// No reference (what ParseReferenceHz could not read) is refused like one out of range.
bool ConfirmReference(QWidget *parent, std::optional<double> hz);

// The reference typed in a field, in Hz: ParseReferenceHz with the decimal separator of the
// user's locale (QLocale()); none when it is no plain number.
std::optional<double> TypedReference(const QString &text);

// The same for a degree's adjustment in cents: refused beyond what the settings can keep, asked
// about at 50 cents or more.
bool ConfirmAdjustment(QWidget *parent, double cents);

} // namespace corvane::dialogs
