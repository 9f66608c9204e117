#pragma once

#include "GainFilter.h"
#include "MediaFormat.h"
#include "MixerFilter.h"
#include "PcmFormat.h"
#include "SynthSourceFilter.h"
#include "WaveDestinationFilter.h"

#include <array>
#include <cstdint>

namespace corvane {

// The reference-tone generator: twelve oscillators (generator ids 0 ... 11, one per scale
// degree) into a mixer, an overall level, and a PCM sink.
//
// Owned by one thread at a time: set up on the user-interface thread while playback is stopped,
// then driven by the playback worker alone. Changes while it plays (voices on and off, levels,
// frequencies) reach the worker as commands, which it applies between blocks; nothing else
// touches the generator while the worker owns it. Only setup allocates; generate() never does.
class ToneGenerator
{
public:
    static constexpr int32_t kVoiceCount = 12;

    // Every voice muted at gain 1.0, overall level 1.0.
    ToneGenerator();
    ToneGenerator(const ToneGenerator &) = delete;
    ToneGenerator &operator=(const ToneGenerator &) = delete;
    virtual ~ToneGenerator() = default;

    // Configures every voice with `format` and wires voices -> mixer -> level -> output.
    // Throws the voices' "PRE: ..." errors; wiring errors arrive as base std::exception.
    virtual void configure(const MediaFormat &format);

    // Configures for (blockLength, sampleRate) and points the output at `target`, which must
    // hold one block of `format`. May be called again when the playback format changes.
    void setup(const PcmFormat &format, uint8_t *target);

    // The sink; point it at the buffer to fill (setTarget) before each generate.
    WaveDestinationFilter &output() noexcept { return m_output; }

    // Renders one block into the output's target. Propagates the output's format errors.
    void generate();

    // Level 0 ... 1 of voice `id`. A bad id throws the C string "invalid generator id"; the
    // mixer's errors arrive as base std::exception.
    void setGeneratorLevel(int32_t id, double level);
    // Each throws std::invalid_argument "invalid generator id" for an id outside 0 ... 11.
    void setGeneratorFrequency(int32_t id, double hz);
    // Restarts that voice's phase.
    void setGeneratorWaveform(int32_t id, int32_t code);
    void generatorOn(int32_t id);
    void generatorOff(int32_t id);

    // Overall gain after the mix. Throws std::invalid_argument "level less than 0" for a value
    // that is negative or not a number.
    void setLevel(double level);

private:
    static void checkId(int32_t id);

    std::array<SynthSourceFilter, kVoiceCount> m_voice;
    GainFilter m_level;
    WaveDestinationFilter m_output;
    MixerFilter m_mix;
};

} // namespace corvane
