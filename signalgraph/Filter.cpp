#include "Filter.h"

#include <stdexcept>

namespace corvane {

Filter::Filter(int32_t inputs, int32_t outputs)
    : m_inputs(static_cast<std::size_t>(inputs))
    , m_outputs(static_cast<std::size_t>(outputs))
{
    for (InputPin &pin : m_inputs)
        pin.bind(this);
}

InputPin *Filter::inputPin(int32_t number) noexcept
{
    const auto count = static_cast<int32_t>(m_inputs.size());
    return number >= 1 && number <= count ? &m_inputs[static_cast<std::size_t>(number - 1)]
                                          : nullptr;
}

OutputPin *Filter::outputPin(int32_t number)
{
    if (m_outputs.empty())
        throw std::invalid_argument("no output pins");
    const auto first = static_cast<int32_t>(m_inputs.size()) + 1;
    const auto count = static_cast<int32_t>(m_outputs.size());
    return number >= first && number < first + count
            ? &m_outputs[static_cast<std::size_t>(number - first)]
            : nullptr;
}

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
