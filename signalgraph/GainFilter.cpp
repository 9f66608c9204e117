#include "GainFilter.h"

#include <stdexcept>

namespace corvane {

bool GainFilter::process()
{
    if (!inputReady(m_in) || !outputInStep(m_out, *m_in.media()))
        return false;
    const MediaSample &in = *m_in.media();
    const float *x = in.buffer();
    float *y = m_out.media()->buffer();
    for (int32_t i = 0; i < in.format.length; ++i)
        y[i] = static_cast<float>(x[i] * m_gain);
    deliverAll(m_out);
    return true;
}

void GainFilter::configure(const MediaFormat &format)
{
    setOutputFormat(m_out, format);
}

void GainFilter::setGain(double gain)
{
    if (!(gain >= 0.0))
        throw std::invalid_argument("negative gain");
    m_gain = gain;
}

} // namespace corvane
