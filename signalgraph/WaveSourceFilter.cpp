#include "WaveSourceFilter.h"

#include "PcmBlockCheck.h"

#include <stdexcept>

namespace corvane {

namespace {

    // Reads channel 0 of `length` frames, `stride` samples apart.
    template<typename Convert>
    void convertLeft(const uint8_t *block, int32_t length, int32_t stride, int32_t bytes,
                     float *out, Convert convert) noexcept
    {
        const std::ptrdiff_t step = std::ptrdiff_t { stride } * bytes;
        for (int32_t i = 0; i < length; ++i, block += step)
            out[i] = convert(block);
    }

} // namespace

bool WaveSourceFilter::process()
{
    return false;
}

void WaveSourceFilter::configure(const MediaFormat &) { }

bool WaveSourceFilter::push(const uint8_t *block)
{
    MediaSample *media = m_out.media();
    const int32_t bytes = checkPcmBlock(m_format, media);
    if (!block)
        throw std::invalid_argument("null block pointer");

    const int32_t length = media->format.length;
    float *out = media->buffer();
    switch (bytes) {
    case 1:
        convertLeft(block, length, m_format.channels, bytes, out, [](const uint8_t *p) {
            return static_cast<float>((int32_t { p[0] } - 128) * 0.0078125);
        });
        break;
    case 2:
        convertLeft(block, length, m_format.channels, bytes, out, [](const uint8_t *p) {
            const auto v = static_cast<int16_t>(p[0] | (p[1] << 8));
            return static_cast<float>(v * 3.0517578125e-05);
        });
        break;
    default:
        convertLeft(block, length, m_format.channels, bytes, out, [](const uint8_t *p) {
            const auto v =
                    static_cast<int32_t>(uint32_t { p[0] } | (uint32_t { p[1] } << 8)
                                         | (uint32_t { p[2] } << 16) | (uint32_t { p[3] } << 24));
            return static_cast<float>(v * 1.1920928955078125e-07);
        });
        break;
    }
    deliverAll(m_out);
    return true;
}

void WaveSourceFilter::setFormat(const PcmFormat &format)
{
    m_format = format;
    m_out.setFormat({ format.blockLength, static_cast<double>(format.sampleRate) });
    m_out.media()->position = 0;
}

} // namespace corvane
