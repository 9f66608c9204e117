#include "SynthVoices.h"

#include "KeyTables.h"
#include "ToneGenerator.h"
#include "Tuning.h"

#include <cmath>

namespace corvane::tuner {

namespace {

    std::int32_t validWaveform(std::uint32_t code) noexcept
    {
        return code >= 1 && code <= 4 ? static_cast<std::int32_t>(code) : 2;
    }

    double validLevel(float level) noexcept
    {
        return level >= 0.0f && level <= 1.0f ? level : 0.5;
    }

    int validOctave(std::int32_t shift) noexcept
    {
        return shift >= -2 && shift <= 2 ? shift : 0;
    }

} // namespace

SynthVoices::SynthVoices() noexcept
{
    for (int d = 0; d < kDegreeCount; ++d)
        m_voices[std::size_t(d)].degree = d;
}

void SynthVoices::configure(const CTCDefs &settings, const CPitch &pitch,
                            const KeyContext &keys) noexcept
{
    const DegreeWaveforms waveforms = settings.GetToneWaveform();
    const DegreeFloats levels = settings.GetToneLevel();
    const DegreeOctaves octaves = settings.GetToneOctave();
    const DegreeFloats adjust = settings.GetPitchAdjustCents();
    for (std::size_t d = 0; d < m_voices.size(); ++d) {
        VoiceCommand &voice = m_voices[d];
        voice.waveform = validWaveform(waveforms[d]);
        voice.hz = DegreeToneFreq(pitch, keys, adjust, int(d), validOctave(octaves[d]));
        voice.level = validLevel(levels[d]);
        voice.retune = true;
        m_pending.set(d);
    }
}

bool SynthVoices::toggle(int degree) noexcept
{
    if (!IsDegree(degree))
        return false;
    VoiceCommand &voice = m_voices[std::size_t(degree)];
    voice.on = !voice.on;
    m_pending.set(std::size_t(degree));
    return voice.on;
}

bool SynthVoices::isOn(int degree) const noexcept
{
    return IsDegree(degree) && m_voices[std::size_t(degree)].on;
}

const VoiceCommand &SynthVoices::voice(int degree) const noexcept
{
    return m_voices[std::size_t(IsDegree(degree) ? degree : 0)];
}

bool SynthVoices::flush(Queue &queue) noexcept
{
    for (std::size_t d = 0; d < m_voices.size(); ++d) {
        if (!m_pending.test(d))
            continue;
        if (!queue.push(m_voices[d]))
            return false;
        m_pending.reset(d);
        m_voices[d].retune = false;
    }
    return true;
}

void SynthVoices::apply(const VoiceCommand &command, ToneGenerator &generator)
{
    if (command.retune) {
        generator.setGeneratorWaveform(command.degree, command.waveform);
        generator.setGeneratorFrequency(command.degree, command.hz);
        generator.setGeneratorLevel(command.degree, command.level);
    }
    if (command.on)
        generator.generatorOn(command.degree);
    else
        generator.generatorOff(command.degree);
}

} // namespace corvane::tuner
