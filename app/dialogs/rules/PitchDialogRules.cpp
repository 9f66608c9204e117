#include "PitchDialogRules.h"

#include "CPitch.h"
#include "TemperamentCatalog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
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

std::string ReferenceDistanceText(double hz)
{
    return std::to_string(WholeCents(ReferenceCents(hz))) + " cents";
}

std::string ReferenceDistanceTypingText(double hz)
{
    return Format("%.3f cents", ReferenceCents(hz));
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
