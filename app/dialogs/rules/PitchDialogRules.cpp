#include "PitchDialogRules.h"

#include "CPitch.h"
#include "TemperamentCatalog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <locale>
#include <sstream>

namespace corvane {

namespace {

    std::string Format(const char *format, double value)
    {
        char text[64];
        std::snprintf(text, sizeof text, format, value);
        return text;
    }

} // namespace

double ParseDecimal(std::string_view text)
{
    std::istringstream in { std::string(text) };
    double value = 0.0;
    if (!(in >> value))
        return 0.0;
    return value;
}

std::optional<double> ParseReferenceHz(std::string_view text, char localeDecimalPoint)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    std::string number;
    bool separator = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            number += c;
        } else if ((c == '.' || c == localeDecimalPoint) && !separator) {
            separator = true;
            number += '.';
        } else {
            return std::nullopt;
        }
    }
    if (number.empty() || number == ".")
        return std::nullopt;
    // Only digits and one point are left, which the C locale's reading takes whole.
    std::istringstream in(number);
    in.imbue(std::locale::classic());
    double hz = 0.0;
    if (!(in >> hz))
        return std::nullopt;
    return hz;
}

ReferenceCheck CheckReference(double hz) noexcept
{
    if (!CPitch::IsPlausibleReference(hz))
        return ReferenceCheck::Refuse;
    return std::abs(ReferenceCents(hz)) >= 50.0 ? ReferenceCheck::Warn : ReferenceCheck::Accept;
}

double ReferenceCents(double hz) noexcept
{
    if (!CPitch::IsValidReference(hz))
        return 1200.0;
    return CPitch::Cents(hz, CPitch::kStandardReference);
}

std::string ReferenceDistanceText(std::optional<double> hz)
{
    if (!hz || !CPitch::IsPlausibleReference(*hz))
        return {};
    return std::to_string(WholeCents(ReferenceCents(*hz))) + " cents";
}

std::string ReferenceDistanceTypingText(std::optional<double> hz)
{
    if (!hz || !CPitch::IsPlausibleReference(*hz))
        return {};
    return Format("%.3f cents", ReferenceCents(*hz));
}

bool AdjustmentNeedsWarning(double cents) noexcept
{
    return std::abs(cents) >= kMaxAdjustmentCents;
}

bool AdjustmentStorable(double cents) noexcept
{
    return std::isfinite(cents) && std::abs(cents) <= kHighestAdjustmentCents;
}

int StepAdjustment(int value, int delta) noexcept
{
    const long long stepped = static_cast<long long>(value) + delta;
    return std::abs(stepped) <= kMaxAdjustmentCents ? static_cast<int>(stepped) : value;
}

double ClampAdjustment(double cents) noexcept
{
    if (std::isnan(cents))
        return 0.0;
    return std::clamp(cents, -double(kMaxAdjustmentCents), double(kMaxAdjustmentCents));
}

std::string FrequencyText(double hz)
{
    return Format("%.3fHz", hz);
}

} // namespace corvane
