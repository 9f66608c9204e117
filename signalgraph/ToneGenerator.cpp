#include "ToneGenerator.h"

#include <stdexcept>

namespace corvane {

ToneGenerator::ToneGenerator()
{
    for (int32_t pin = 1; pin <= kVoiceCount; ++pin) {
        m_mix.setInputGain(pin, 1.0);
        m_mix.setInputMuted(pin, true);
    }
    m_level.setGain(1.0);
}

void ToneGenerator::configure(const MediaFormat &format)
{
    for (SynthSourceFilter &voice : m_voice)
        voice.configure(format);
    for (int32_t i = 0; i < kVoiceCount; ++i)
        m_voice[i].outputPin(1)->connect(m_mix.inputPin(i + 1));
    m_mix.outputPin(MixerFilter::kOutputPinNumber)->connect(m_level.inputPin(1));
    m_level.outputPin(2)->connect(m_output.inputPin(1));
}

void ToneGenerator::setup(const PcmFormat &format, uint8_t *target)
{
    configure({ format.blockLength, static_cast<double>(format.sampleRate) });
    m_output.setTarget(format, target);
}

void ToneGenerator::generate()
{
    // The delivery of the last voice completes the mixer's inputs; the mix then runs through
    // the level into the output.
    for (SynthSourceFilter &voice : m_voice)
        voice.process();
}

void ToneGenerator::checkId(int32_t id)
{
    if (id < 0 || id >= kVoiceCount)
        throw std::invalid_argument("invalid generator id");
}

void ToneGenerator::setGeneratorLevel(int32_t id, double level)
{
    if (id < 0 || id >= kVoiceCount)
        throw "invalid generator id"; // callers of this one catch a C string
    try {
        m_mix.setInputGain(id + 1, level);
    } catch (const std::exception &e) {
        throw std::exception(e);
    }
}

void ToneGenerator::setGeneratorFrequency(int32_t id, double hz)
{
    checkId(id);
    m_voice[static_cast<std::size_t>(id)].setFrequency(hz);
}

void ToneGenerator::setGeneratorWaveform(int32_t id, int32_t code)
{
    checkId(id);
    m_voice[static_cast<std::size_t>(id)].setWaveform(code);
}

void ToneGenerator::generatorOn(int32_t id)
{
    checkId(id);
    m_mix.setInputMuted(id + 1, false);
}

void ToneGenerator::generatorOff(int32_t id)
{
    checkId(id);
    m_mix.setInputMuted(id + 1, true);
}

void ToneGenerator::setLevel(double level)
{
    if (!(level >= 0.0))
        throw std::invalid_argument("level less than 0");
    m_level.setGain(level);
}

} // namespace corvane
