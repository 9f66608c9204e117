#include "Filter.h"

#include <stdexcept>

namespace corvane {

bool Filter::inputReady(const InputPin &pin) noexcept
{
    return pin.isReady() && pin.media() && pin.media()->buffer();
}

bool Filter::outputInStep(const OutputPin &out, const MediaSample &in, int32_t divisor) noexcept
{
    const MediaSample *media = out.media();
    // Positions wrap (see advanced), so the comparison is made modulo 2^32 as well.
    const auto scaled =
            static_cast<uint32_t>(media ? media->position : 0) * static_cast<uint32_t>(divisor);
    return media && media->buffer() && media->format.length * divisor == in.format.length
            && scaled == static_cast<uint32_t>(in.position);
}

void Filter::setOutputFormat(OutputPin &out, const MediaFormat &format)
{
    try {
        out.setFormat(format);
    } catch (const std::exception &e) {
        throw std::exception(e);
    }
    out.media()->position = 0;
}

} // namespace corvane
