#include "AutoCorrelateFilter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace corvane {

void AutoCorrelateFilter::setHistoryLength(int32_t samples)
{
    m_tailLength = std::max(samples, 0);
    m_samples.assign(static_cast<size_t>(m_tailLength + m_window), 0.0f);
}

void AutoCorrelateFilter::configure(const MediaFormat &format)
{
    m_blockLength = std::max(format.length, 0);
    m_window = m_windowBlocks * m_blockLength;
    m_samples.assign(static_cast<size_t>(m_tailLength + m_window), 0.0f);
}

bool AutoCorrelateFilter::holdsMatchingBlock() const noexcept
{
    const MediaSample *media = m_in.media();
    return media && media->buffer() && media->format.length == m_blockLength && m_blockLength > 0;
}

bool AutoCorrelateFilter::process()
{
    if (!m_in.isReady() || !holdsMatchingBlock())
        return false;
    // Everything moves down by a block; the new block ends the window.
    const auto total = static_cast<int32_t>(m_samples.size());
    std::memmove(m_samples.data(), m_samples.data() + m_blockLength,
                 static_cast<size_t>(total - m_blockLength) * sizeof(float));
    std::memcpy(m_samples.data() + (total - m_blockLength), m_in.media()->buffer(),
                static_cast<size_t>(m_blockLength) * sizeof(float));
    return true;
}

float AutoCorrelateFilter::at(int32_t j) const noexcept
{
    return m_samples[static_cast<size_t>(m_tailLength + j)];
}

double AutoCorrelateFilter::score(double hz) const noexcept
{
    if (!holdsMatchingBlock() || m_tailLength == 0 || !(hz > 0.0))
        return 0.0;
    const double lag = m_in.media()->format.sampleRate / hz;
    // The comparison reads the window up to index trunc(lag); a longer period has no second
    // look inside the window to compare with.
    if (!std::isfinite(lag) || std::trunc(lag) + 1.0 >= m_window)
        return 0.0;
    const auto whole = static_cast<int32_t>(lag);
    const double frac = lag - whole;
    double sum = 0.0;
    for (int32_t k = 0; k < m_tailLength; ++k) {
        const int32_t j = whole - m_tailLength + k;
        const float xj = at(j);
        const double e = xj + (at(j + 1) - xj) * frac - m_samples[static_cast<size_t>(k)];
        sum += e * e;
    }
    return 1.0 / (sum + 1.0);
}

} // namespace corvane
