#include "PitchDetectFilter.h"

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

void PitchDetectFilter::configure(const MediaFormat &)
{
    m_previous = 0.0f;
    m_count = 0;
    m_carry = 0.0;
    m_frequency = 0.0;
}

bool PitchDetectFilter::process()
{
    if (!inputReady(m_in))
        return false;
    const MediaSample &in = *m_in.media();
    const float *x = in.buffer();
    const int32_t length = in.format.length;

    // `start` is how far the first crossing lies before sample `first`, `m_carry` (once a second
    // crossing is found) how far the last one lies before sample `last`.
    int32_t first = 0;
    int32_t last = 0;
    bool noCrossing = true;
    double start = m_count == 1 ? m_carry : 0.0;

    if (isDownwardCrossing(m_previous, x[0])) {
        noCrossing = false;
        ++m_count;
        const double d = crossingDistance(m_previous, x[0]);
        if (m_count == 1) {
            start = d;
        } else {
            m_carry = d;
            start += 1.0;
        }
    } else if (m_count == 1) {
        start += 1.0;
    }

    for (int32_t k = 1; k < length; ++k) {
        if (!isDownwardCrossing(x[k - 1], x[k]))
            continue;
        noCrossing = false;
        ++m_count;
        const double d = crossingDistance(x[k - 1], x[k]);
        if (m_count == 1) {
            start = d;
            first = k;
        } else {
            m_carry = d;
            last = k;
        }
    }

    if (m_count >= 2) {
        m_frequency = (m_count - 1) * in.format.sampleRate / ((last - first) - m_carry + start);
        m_count = 1;
        m_carry = (length - last - 1) + m_carry;
    } else if (m_count == 1 && !noCrossing) {
        m_frequency = 0.0;
        m_carry = (length + start - first) - 1;
    } else {
        // A crossing carried from the previous block is forgotten when this block has none.
        m_count = 0;
        m_frequency = 0.0;
        m_carry = 0.0;
    }
    m_previous = x[length - 1];
    return true;
}

} // namespace corvane
