#include "MixerFilter.h"

#include <algorithm>
#include <stdexcept>

namespace corvane {

MixerFilter::MixerFilter()
    : Filter(kInputCount, 1)
{
    m_muted.fill(true);
}

bool MixerFilter::process()
{
    for (const InputPin &pin : m_in) {
        if (!inputReady(pin))
            return false;
    }
    const MediaSample *out = m_out.media();
    if (!out || !out->buffer())
        return false;
    const int32_t length = out->format.length;
    for (const InputPin &pin : m_in) {
        if (pin.media()->format.length != length)
            return false;
    }

    normalize();
    float *y = m_out.media()->buffer();
    std::fill(y, y + length, 0.0f);
    for (std::size_t i = 0; i < m_in.size(); ++i) {
        if (m_muted[i])
            continue;
        const float *x = m_in[i].media()->buffer();
        const double gain = m_effectiveGain[i];
        for (int32_t k = 0; k < length; ++k)
            y[k] += x[k] * gain;
    }
    deliverAll(m_out);
    return true;
}

void MixerFilter::normalize() noexcept
{
    double sum = 0.0;
    double loudest = 0.0;
    for (std::size_t i = 0; i < m_in.size(); ++i) {
        if (!m_muted[i]) {
            sum += m_inputGain[i];
            loudest = std::max(loudest, m_inputGain[i]);
        }
    }
    for (std::size_t i = 0; i < m_in.size(); ++i) {
        if (m_muted[i] || loudest <= 0.0)
            m_effectiveGain[i] = 0.0;
        else
            m_effectiveGain[i] = m_inputGain[i] / sum * loudest;
    }
}

void MixerFilter::configure(const MediaFormat &format)
{
    setOutputFormat(m_out, format);
}

void MixerFilter::checkPin(int32_t pin)
{
    if (pin < 1 || pin > kInputCount)
        throw std::domain_error("invalid pin number");
}

void MixerFilter::setInputGain(int32_t pin, double gain)
{
    checkPin(pin);
    if (!(gain >= 0.0 && gain <= 1.0))
        throw std::domain_error("invalid gain");
    m_inputGain[index(pin)] = gain;
}

void MixerFilter::setInputMuted(int32_t pin, bool muted)
{
    checkPin(pin);
    m_muted[index(pin)] = muted;
}

} // namespace corvane
