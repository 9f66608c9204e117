#pragma once

#include "CTCDefs.h"
#include "CommandQueue.h"
#include "VoiceCommand.h"

#include <array>
#include <bitset>

namespace corvane {
class CPitch;
class KeyContext;
class ToneGenerator;
}

namespace corvane::tuner {

// The twelve drone voices, one per scale degree of the sounding key, as the window wants them,
// and the changes not yet handed to the playback worker. Every voice starts silent.
//
// User-interface thread only, except apply(), which the playback worker runs. The window never
// touches the tone generator while it plays: it changes the voices here and flush() queues each
// changed voice's whole state. A change that finds the queue full stays pending and goes with the
// next flush, so no switch or retune is ever lost, and several changes to one voice before a
// flush travel as one command. Allocates nothing.
class SynthVoices
{
public:
    using Queue = CommandQueue<VoiceCommand, 32>;

    SynthVoices() noexcept;

    // Retunes all twelve voices from the settings: the degree's tempered pitch in the octave
    // from a' (moved by its octave shift), its waveform and level. On and off stay as they are.
    // Values outside their ranges (a damaged settings file) are taken as the factory's:
    // waveform 2, level 0.5, octave shift 0.
    void configure(const CTCDefs &settings, const CPitch &pitch, const KeyContext &keys) noexcept;

    // Switches a degree's voice over; returns whether it now sounds. A degree outside 0 ... 11
    // changes nothing and returns false.
    bool toggle(int degree) noexcept;
    bool isOn(int degree) const noexcept;
    const VoiceCommand &voice(int degree) const noexcept;

    // Queues every voice changed since the last flush; true when none is left waiting.
    bool flush(Queue &queue) noexcept;
    bool pending() const noexcept { return m_pending.any(); }

    // Playback worker: makes the tone generator's voice what `command` says. The command's
    // degree and values come from this class and are always in range.
    static void apply(const VoiceCommand &command, ToneGenerator &generator);

private:
    std::array<VoiceCommand, kDegreeCount> m_voices;
    std::bitset<kDegreeCount> m_pending;
};

} // namespace corvane::tuner
