#include "DecimationFilter.h"

#include <stdexcept>

namespace corvane {

void DecimationFilter::configure(const MediaFormat &format)
{
    if (format.length < 1)
        throw std::length_error("invalid buffer length");
    if (!(format.sampleRate > 0.0))
        throw std::domain_error("invalid sample rate");
    if (format.length % 2 != 0)
        throw std::domain_error("odd buffer length");
    setOutputFormat(m_out, { format.length / 2, format.sampleRate * 0.5 });
}

bool DecimationFilter::process()
{
    if (!inputReady(m_in) || !outputInStep(m_out, *m_in.media(), 2))
        return false;
    const float *in = m_in.media()->buffer();
    float *out = m_out.media()->buffer();
    const int32_t length = m_out.media()->format.length;
    for (int32_t k = 0; k < length; ++k)
        out[k] = in[2 * k];
    deliverAll(m_out);
    return true;
}

} // namespace corvane
