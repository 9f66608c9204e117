#include "SplitterFilter.h"

#include <algorithm>

namespace corvane {

bool SplitterFilter::process()
{
    if (!inputReady(m_in))
        return false;
    const MediaSample &in = *m_in.media();
    if (!outputInStep(m_first, in) || !outputInStep(m_second, in))
        return false;
    const float *x = in.buffer();
    std::copy(x, x + in.format.length, m_first.media()->buffer());
    std::copy(x, x + in.format.length, m_second.media()->buffer());
    deliverAll(m_first, m_second);
    return true;
}

void SplitterFilter::configure(const MediaFormat &format)
{
    setOutputFormat(m_first, format);
    setOutputFormat(m_second, format);
}

} // namespace corvane
