#include "PitchDetectFilter.h"

#include <algorithm>

namespace corvane {

namespace {

    // A downward crossing between a and b lies this far (0 ... 1 samples) before b.
    inline double crossingDistance(float a, float b) noexcept
    {
        return 1.0 - a / (a - b);
    }

    inline bool isDownwardCrossing(float a, float b) noexcept
    {
        return a > 0.0f && b <= 0.0f;
    }

} // namespace

void PitchDetectFilter::configure(const MediaFormat &format)
{
    const int32_t block = std::max(format.length, 1);
    m_window = m_windowBlocks * block;
    // A crossing needs a sample above zero before it: at most one in two samples.
    m_ring.assign(static_cast<size_t>(m_window) + 2, {});
    m_head = 0;
    m_count = 0;
    m_previous = 0.0f;
    m_next = 0;
    m_frequency = 0.0;
}

void PitchDetectFilter::forgetBefore(int64_t sample) noexcept
{
    while (m_count > 0 && m_ring[m_head].sample < sample) {
        m_head = (m_head + 1) % m_ring.size();
        --m_count;
    }
}

bool PitchDetectFilter::process()
{
    if (!inputReady(m_in) || m_ring.empty())
        return false;
    const MediaSample &in = *m_in.media();
    const float *x = in.buffer();
    const int32_t length = in.format.length;

    // The window is [end - m_window, end); crossings of the window before it are kept for the
    // carried one.
    const int64_t end = m_next + length;
    forgetBefore(end - 2 * static_cast<int64_t>(m_window));
    float a = m_previous;
    for (int32_t k = 0; k < length; ++k) {
        const float b = x[k];
        if (isDownwardCrossing(a, b)) {
            if (m_count == m_ring.size()) { // cannot happen with the ring's size; stay safe
                m_head = (m_head + 1) % m_ring.size();
                --m_count;
            }
            m_ring[(m_head + m_count) % m_ring.size()] = { m_next + k, crossingDistance(a, b) };
            ++m_count;
        }
        a = b;
    }
    m_previous = x[length - 1];
    m_next = end;

    // The first crossing counted is the last one of the window before, when there is one, else
    // the window's first; the last is the window's last.
    const int64_t windowStart = end - m_window;
    size_t before = 0; // crossings of the window before
    while (before < m_count && m_ring[(m_head + before) % m_ring.size()].sample < windowStart)
        ++before;
    const size_t inWindow = m_count - before;
    const size_t first = before > 0 ? before - 1 : before;
    if (inWindow == 0 || m_count - first < 2) {
        m_frequency = 0.0;
        return true;
    }
    const size_t crossings = m_count - first;
    const Crossing &c0 = m_ring[(m_head + first) % m_ring.size()];
    const Crossing &c1 = m_ring[(m_head + m_count - 1) % m_ring.size()];
    const double span = static_cast<double>(c1.sample - c0.sample) - c1.before + c0.before;
    m_frequency = static_cast<double>(crossings - 1) * in.format.sampleRate / span;
    return true;
}

} // namespace corvane
