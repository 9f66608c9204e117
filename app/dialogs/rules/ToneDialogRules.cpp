#include "ToneDialogRules.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace corvane {

namespace {

    // A slider position from a stored fraction; the stored value comes from a file, so what no
    // slider can show is pinned to its nearest end rather than converted out of range.
    int SliderPosition(double exact, int last) noexcept
    {
        if (std::isnan(exact))
            return last;
        return static_cast<int>(std::clamp(exact, 0.0, double(last)));
    }

} // namespace

int LevelToPosition(float level) noexcept
{
    return SliderPosition(20.5 - 20.0 * double(level), kLevelPositions);
}

float PositionToLevel(int position) noexcept
{
    return float(kLevelPositions - std::clamp(position, 0, kLevelPositions))
            / float(kLevelPositions);
}

double WaveformValue(Waveform waveform, double phase) noexcept
{
    constexpr double pi = std::numbers::pi;
    const double x = 2.0 * pi * (phase - std::floor(phase));
    switch (waveform) {
    case Waveform::Triangle:
        if (x < pi / 2)
            return x * 2 / pi;
        if (x < 3 * pi / 2)
            return 2 - x * 2 / pi;
        return x * 2 / pi - 4;
    case Waveform::Sine:
        return std::sin(x);
    case Waveform::HarmonicMix:
        return 0.4 * std::sin(2 * x) + 0.2 * (std::sin(x) + std::sin(3 * x))
                + 0.1 * (std::sin(4 * x) + std::sin(5 * x));
    case Waveform::Square:
        break;
    }
    return x < pi ? 1.0 : -1.0;
}

int NoiseThresholdToPosition(float threshold) noexcept
{
    // Hundredths are not exact in a float (0.96f is 0.9599999...): a hair of slack keeps a
    // stored position from slipping one step each time the dialog opens.
    const double exact = 100.0 - std::trunc(100.0 * double(threshold) + 1e-4);
    return SliderPosition(exact, 100);
}

float PositionToNoiseThreshold(int position) noexcept
{
    return float(100 - std::clamp(position, 0, 100)) / 100.0f;
}

} // namespace corvane
