#pragma once

// What the tuner engine's tests share: a settings record for 44.1 kHz mono 16-bit, the model
// objects the engine reads, and PCM blocks of a sine tone.

#include "ActiveTimeCounter.h"
#include "CPitch.h"
#include "CTCDefs.h"
#include "KeyContext.h"
#include "TunerEngine.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <vector>

namespace corvane::tuner::test {

inline SampleFormat monoFormat(std::int32_t rate)
{
    return { 1, rate, 16 };
}

// Everything an engine needs, the engine last so that it goes first.
struct EngineRig
{
    explicit EngineRig(std::int32_t rate = 44100)
    {
        settings.SetCaptureFormat(monoFormat(rate));
        settings.SetPlaybackFormat(monoFormat(rate));
        practice.setTicksPerSecond(5.0); // as the program's practice clocks count
        engine = std::make_unique<TunerEngine>(settings, pitch, keys, practice);
    }

    CTCDefs settings;
    CPitch pitch;
    KeyContext keys;
    ActiveTimeCounter practice { 0 };
    std::unique_ptr<TunerEngine> engine;
};

// Mono 16-bit PCM of a sine at `hz` and `level` (full scale 1), continuing its phase across
// calls.
class SineBlocks
{
public:
    SineBlocks(double hz, double level, int sampleRate, int blockLength)
        : m_step(2.0 * std::numbers::pi * hz / sampleRate)
        , m_level(level)
        , m_block(std::size_t(blockLength) * 2)
    {
    }

    const std::uint8_t *next()
    {
        for (std::size_t i = 0; i < m_block.size() / 2; ++i) {
            const auto value =
                    static_cast<std::int16_t>(std::lround(32767.0 * m_level * std::sin(m_phase)));
            m_phase += m_step;
            m_block[2 * i] = std::uint8_t(value & 0xFF);
            m_block[2 * i + 1] = std::uint8_t((value >> 8) & 0xFF);
        }
        m_phase = std::fmod(m_phase, 2.0 * std::numbers::pi);
        return m_block.data();
    }

private:
    double m_step;
    double m_level;
    double m_phase = 0.0;
    std::vector<std::uint8_t> m_block;
};

// `hz` moved by `cents`.
inline double centsAway(double hz, double cents)
{
    return hz * std::pow(2.0, cents / 1200.0);
}

} // namespace corvane::tuner::test
