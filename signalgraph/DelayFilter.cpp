#include "DelayFilter.h"

#include <algorithm>
#include <stdexcept>

namespace corvane {

bool DelayFilter::process()
{
    if (!inputReady(m_in) || !outputInStep(m_out, *m_in.media()))
        return false;
    const int32_t length = m_in.media()->format.length;
    const int32_t delay = delayLength();
    const float *x = m_in.media()->buffer();
    float *y = m_out.media()->buffer();
    float *line = m_line.data();

    if (delay == 0) {
        std::copy(x, x + length, y);
    } else if (length <= delay) {
        // The oldest `length` samples leave the line, the rest move up and the block joins
        // at the end.
        std::copy(line, line + length, y);
        std::copy(line + length, line + delay, line);
        std::copy(x, x + length, line + (delay - length));
    } else {
        std::copy(line, line + delay, y);
        std::copy(x, x + (length - delay), y + delay);
        std::copy(x + (length - delay), x + length, line);
    }
    deliverAll(m_out);
    return true;
}

void DelayFilter::configure(const MediaFormat &format)
{
    if (format.length < 1)
        throw std::length_error("invalid buffer length");
    if (!(format.sampleRate > 0.0))
        throw std::domain_error("invalid sample rate");
    setOutputFormat(m_out, format);
}

void DelayFilter::setDelay(int32_t n)
{
    if (n < 0)
        throw std::invalid_argument("negative delay");
    if (n != delayLength())
        m_line.assign(static_cast<std::size_t>(n), 0.0f);
}

} // namespace corvane
