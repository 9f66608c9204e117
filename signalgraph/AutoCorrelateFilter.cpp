#include "AutoCorrelateFilter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace corvane {

void AutoCorrelateFilter::setHistoryLength(int32_t samples)
{
    m_tailLength = std::max(samples, 0);
    m_tail.assign(static_cast<size_t>(m_tailLength), 0.0f);
}

void AutoCorrelateFilter::configure(const MediaFormat &format)
{
    m_blockLength = format.length;
    m_blockCopy.assign(static_cast<size_t>(std::max(m_blockLength, 0)), 0.0f);
    std::fill(m_tail.begin(), m_tail.end(), 0.0f);
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
    // The new tail is the last m_tailLength samples of (old tail, old block). With a tail no
    // longer than the block that is just the end of the old block; a longer tail also keeps
    // the older samples it still needs.
    const int32_t fromBlock = std::min(m_tailLength, m_blockLength);
    const int32_t kept = m_tailLength - fromBlock;
    if (kept > 0)
        std::memmove(m_tail.data(), m_tail.data() + fromBlock,
                     static_cast<size_t>(kept) * sizeof(float));
    std::memcpy(m_tail.data() + kept, m_blockCopy.data() + (m_blockLength - fromBlock),
                static_cast<size_t>(fromBlock) * sizeof(float));
    std::memcpy(m_blockCopy.data(), m_in.media()->buffer(),
                static_cast<size_t>(m_blockLength) * sizeof(float));
    return true;
}

float AutoCorrelateFilter::at(int32_t j) const noexcept
{
    return j >= 0 ? m_blockCopy[static_cast<size_t>(j)]
                  : m_tail[static_cast<size_t>(m_tailLength + j)];
}

double AutoCorrelateFilter::score(double hz) const noexcept
{
    if (!holdsMatchingBlock() || m_tailLength == 0 || !(hz > 0.0))
        return 0.0;
    const double lag = m_in.media()->format.sampleRate / hz;
    // The comparison reads the block up to index trunc(lag); a longer period has no second
    // look inside the block to compare with.
    if (!std::isfinite(lag) || std::trunc(lag) + 1.0 >= m_blockLength)
        return 0.0;
    const auto whole = static_cast<int32_t>(lag);
    const double frac = lag - whole;
    double sum = 0.0;
    for (int32_t k = 0; k < m_tailLength; ++k) {
        const int32_t j = whole - m_tailLength + k;
        const float xj = at(j);
        const double e = xj + (at(j + 1) - xj) * frac - m_tail[static_cast<size_t>(k)];
        sum += e * e;
    }
    return 1.0 / (sum + 1.0);
}

} // namespace corvane
