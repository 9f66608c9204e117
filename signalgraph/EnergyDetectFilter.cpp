#include "EnergyDetectFilter.h"

#include <cmath>

namespace corvane {

bool EnergyDetectFilter::process()
{
    if (!inputReady(m_in))
        return false;
    const MediaSample &in = *m_in.media();
    const float *x = in.buffer();
    double sum = 0.0;
    for (int32_t i = 0; i < in.format.length; ++i)
        sum += static_cast<double>(x[i]) * x[i];
    m_energy = std::sqrt(sum / in.format.length);
    return true;
}

} // namespace corvane
