#include "WaveDestinationFilter.h"

#include "PcmBlockCheck.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace corvane {

namespace {

    // Truncates toward zero within [low, high]. Converting an out-of-range double to an integer is
    // undefined, and wrapping would turn an overshoot into a full-scale click.
    int32_t toInteger(double value, double low, double high, int32_t silence) noexcept
    {
        if (std::isnan(value))
            return silence;
        return static_cast<int32_t>(std::clamp(value, low, high));
    }

    // Writes every input sample to channel 0 of a frame and silence to the other channel, if any.
    template<typename Write>
    void writeFrames(const float *in, int32_t length, int32_t channels, int32_t bytes,
                     uint8_t *target, uint8_t silence, Write write) noexcept
    {
        for (int32_t i = 0; i < length; ++i) {
            write(target, in[i]);
            target += bytes;
            if (channels == 2) {
                std::fill(target, target + bytes, silence);
                target += bytes;
            }
        }
    }

    void writeLittleEndian(uint8_t *p, int32_t value, int32_t bytes) noexcept
    {
        const auto bits = static_cast<uint32_t>(value);
        for (int32_t b = 0; b < bytes; ++b)
            p[b] = static_cast<uint8_t>(bits >> (8 * b));
    }

} // namespace

bool WaveDestinationFilter::process()
{
    const MediaSample *media = m_in.media();
    if (!m_target)
        throw std::domain_error("filter not configured");
    const int32_t bytes = checkPcmBlock(m_format, media);
    if (!inputReady(m_in))
        return false;

    const float *in = media->buffer();
    const int32_t length = media->format.length;
    switch (bytes) {
    case 1:
        writeFrames(in, length, m_format.channels, bytes, m_target, 128, [](uint8_t *p, float x) {
            p[0] = static_cast<uint8_t>(toInteger(x * 127.0 + 128.0, 0.0, 255.0, 128));
        });
        break;
    case 2:
        writeFrames(in, length, m_format.channels, bytes, m_target, 0, [](uint8_t *p, float x) {
            writeLittleEndian(p, toInteger(x * 32767.0, -32768.0, 32767.0, 0), 2);
        });
        break;
    default:
        writeFrames(in, length, m_format.channels, bytes, m_target, 0, [](uint8_t *p, float x) {
            writeLittleEndian(p, toInteger(x * 8388607.0, -8388608.0, 8388607.0, 0), 4);
        });
        break;
    }
    return true;
}

void WaveDestinationFilter::configure(const MediaFormat &) { }

void WaveDestinationFilter::setTarget(const PcmFormat &format, uint8_t *target) noexcept
{
    m_format = format;
    m_target = target;
}

} // namespace corvane
