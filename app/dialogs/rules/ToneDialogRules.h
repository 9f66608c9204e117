#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace corvane {

// How the Pitch Configuration dialog's tone-generator controls map onto the settings record.
// Pure arithmetic; safe from any thread.

// Level slider: positions 0..20, top (0) is loudest. A level of 0.5 sits at position 10.
constexpr int kLevelPositions = 20;
int LevelToPosition(float level) noexcept;
float PositionToLevel(int position) noexcept;

// Octave slider: positions -2..+2 from top to bottom, the stored octave negated, so that the
// highest octave sits at the top.
constexpr int OctaveToPosition(std::int32_t octave) noexcept
{
    return -octave;
}
constexpr std::int32_t PositionToOctave(int position) noexcept
{
    return -position;
}
// Labels of the octave slider, top to bottom.
constexpr std::array<std::string_view, 5> kToneOctaveLabels = { "15va", "8va", "middle", "8vb",
                                                                "15vb" };

// The four waveform buttons, left to right and top to bottom, carry the generator's codes.
enum class Waveform : std::uint32_t { Square = 1, Triangle = 2, Sine = 3, HarmonicMix = 4 };
constexpr std::array<Waveform, 4> kWaveformButtons = { Waveform::Square, Waveform::Triangle,
                                                       Waveform::Sine, Waveform::HarmonicMix };
constexpr std::array<std::string_view, 4> kWaveformNames = { "Square", "Triangle", "Sine",
                                                             "Harmonic mix" };
// One period of a waveform at phase 0..1 (the generator's shapes), for its button's picture.
double WaveformValue(Waveform waveform, double phase) noexcept;

// Noise-threshold slider of the Optimize dialog: positions 0..100, top (0) is the highest
// threshold.
int NoiseThresholdToPosition(float threshold) noexcept;
float PositionToNoiseThreshold(int position) noexcept;

} // namespace corvane
