#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// What the Pitch Configuration, temperament list and Temperament Adjustment dialogs check and
// show, kept apart from the windows so that it can be checked without them. Safe from any
// thread.

constexpr std::string_view kWarningTitle = "Warning";
constexpr std::string_view kReferenceWarningText =
        "The new reference is greater than 50 cents difference from standard tuning";
constexpr std::string_view kAdjustmentWarningText =
        "The new adjustment is limited to 50 cents difference from mean tuning";
// Shown instead of storing a reference outside the range the defaults file keeps (220 ... 880 Hz,
// CPitch::IsPlausibleReference): 0, a negative number, text that is no number, or a pitch no
// musician means. Anything else would be thrown away at the next start.
constexpr std::string_view kInvalidReferenceText =
        "The reference must be a frequency from 220 Hz to 880 Hz";

// What "Restore" and "Restore defaults" put into the fields.
constexpr std::string_view kStandardReferenceText = "440.000";
constexpr std::string_view kZeroCentsText = "0.000 cents";

// Adjustments are whole cents within -50..+50 when reached by the spin control.
constexpr int kMaxAdjustmentCents = 50;

// The defaults file keeps temperament offsets within an octave either way; the dialogs refuse
// an adjustment beyond it, even after the warning, for the same reason.
constexpr double kHighestAdjustmentCents = 1200.0;
constexpr std::string_view kInvalidAdjustmentText =
        "The adjustment must lie within 1200 cents of mean tuning";

// A typed number read the way the standard stream extraction reads a double: leading blanks
// are skipped, anything after the number is ignored, and text that is no number (or one out of
// range) reads as 0. The adjustment fields read what is typed so.
double ParseDecimal(std::string_view text);

// A typed reference in Hz: digits with at most one decimal separator, blanks around them
// allowed. The separator is the point, which the field itself shows, or the decimal separator
// of the user's locale (`localeDecimalPoint`, the comma in much of Europe), so "440,5" is 440.5
// where the comma is the decimal separator and refused where it is not (it could be a thousands
// separator). Nothing else is a reference: an empty field, letters, units ("442Hz"), a sign, an
// exponent. None then, and the dialog refuses it with kInvalidReferenceText.
std::optional<double> ParseReferenceHz(std::string_view text, char localeDecimalPoint = '.');

enum class ReferenceCheck {
    Accept, // within 50 cents of 440 Hz
    Warn,   // 50 cents or more away: ask with kReferenceWarningText, store only on OK
    Refuse, // outside 220 ... 880 Hz or no number: say kInvalidReferenceText, store nothing
};
// The check on OK for a typed reference in Hz, measured against 440.0 Hz, not against the
// previous reference.
ReferenceCheck CheckReference(double hz) noexcept;

// The reference's distance from 440.0 Hz in cents; 1200 (the "no pitch" answer) for a value
// that is not a usable reference, so that the display never shows a non-number.
double ReferenceCents(double hz) noexcept;
// "%d cents", truncated toward zero, as the dialogs show it when they open; empty for no
// reference or one outside 220 ... 880 Hz, which has no distance worth showing.
std::string ReferenceDistanceText(std::optional<double> hz);
// "%.3f cents", as the reference dialogs show it while the user types; empty likewise.
std::string ReferenceDistanceTypingText(std::optional<double> hz);

// Whether an adjustment asks for confirmation on OK: 50 cents or more either way.
bool AdjustmentNeedsWarning(double cents) noexcept;
// Whether an adjustment can be stored at all (a finite number within kHighestAdjustmentCents).
bool AdjustmentStorable(double cents) noexcept;
// The spin control's step: value + delta, or value unchanged when that would leave -50..+50.
int StepAdjustment(int value, int delta) noexcept;
// A typed adjustment clamped to -50..+50 for the frequency shown beside the field while the
// user types (the field keeps what was typed); a non-number counts as 0.
double ClampAdjustment(double cents) noexcept;

// "%.3fHz", the tempered frequency beside the adjustment field.
std::string FrequencyText(double hz);

} // namespace corvane
