#include "EnergyDetectFilter.h"

#include <algorithm>
#include <cmath>

namespace corvane {

void EnergyDetectFilter::configure(const MediaFormat &format)
{
    const int32_t block = std::max(format.length, 1);
    const int32_t blocks = m_windowBlocks;
    m_window = blocks * block;
    m_blockSums.assign(static_cast<size_t>(blocks), 0.0);
    m_oldest = 0;
    m_energy = 0.0;
}

bool EnergyDetectFilter::process()
{
    if (!inputReady(m_in) || m_blockSums.empty())
        return false;
    const MediaSample &in = *m_in.media();
    const float *x = in.buffer();
    double sum = 0.0;
    for (int32_t i = 0; i < in.format.length; ++i)
        sum += static_cast<double>(x[i]) * x[i];
    m_blockSums[m_oldest] = sum;
    m_oldest = (m_oldest + 1) % m_blockSums.size();
    // Summed afresh each time, so that no rounding accumulates over an hour.
    double total = 0.0;
    for (double s : m_blockSums)
        total += s;
    m_energy = std::sqrt(total / m_window);
    return true;
}

} // namespace corvane
