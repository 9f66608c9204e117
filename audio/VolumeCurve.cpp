#include "VolumeCurve.h"

#include <cmath>

namespace corvane::audio {

int32_t volumeHundredthsDb(float level) noexcept
{
    if (!(level > 0.0f))
        return kSilentHundredthsDb; // zero, negative and NaN
    // The product stays in single precision, as the level is stored, so that 0.1 × 10 is
    // exactly 1 and 0.1 lands on the silence boundary rather than one step above it.
    const float scaled = level * 10.0f;
    const double value = std::trunc((std::log10(static_cast<double>(scaled)) - 1.0) * 10000.0);
    if (value <= kSilentHundredthsDb)
        return kSilentHundredthsDb;
    if (value >= 0.0)
        return 0;
    return static_cast<int32_t>(value);
}

float gainForHundredthsDb(int32_t hundredths) noexcept
{
    if (hundredths <= kSilentHundredthsDb)
        return 0.0f;
    if (hundredths >= 0)
        return 1.0f;
    return static_cast<float>(std::pow(10.0, hundredths / 2000.0));
}

} // namespace corvane::audio
