#include "Pins.h"

#include "Filter.h"

#include <cmath>
#include <stdexcept>

namespace corvane {

void InputPin::bind(Filter *owner)
{
    if (!owner)
        throw std::invalid_argument("filter pointer is null");
    m_owner = owner;
}

void InputPin::attach(OutputPin *source)
{
    if (!m_owner)
        throw std::domain_error("Input pin not bound to filter");
    if (!source)
        throw std::invalid_argument("Null pointer to output pin");
    if (!source->media())
        throw std::invalid_argument("Null pointer to output pin media sample");
    m_media = source->media();
    try {
        m_owner->configure(m_media->format);
    } catch (const std::exception &e) {
        // Callers of the wiring operations catch std::exception; the graph hands them the base.
        throw std::exception(e);
    }
}

void InputPin::receive()
{
    if (!m_owner)
        throw std::domain_error("pin not bound to filter");
    m_ready = true;
    if (m_owner->process())
        m_ready = false;
}

void OutputPin::setFormat(const MediaFormat &format)
{
    if (format.length < 1)
        throw std::length_error("invalid buffer length");
    if (!(format.sampleRate > 0.0))
        throw std::domain_error("invalid sample rate");
    if (!m_media)
        m_media = std::make_unique<MediaSample>();
    if (m_media->format.length != format.length) {
        m_media->allocate(format.length);
        m_media->format = format;
        m_media->position = 0;
    }
    m_media->format.sampleRate = format.sampleRate;
    if (m_peer) {
        try {
            m_peer->attach(this);
        } catch (const std::exception &e) {
            throw std::exception(e);
        }
    }
}

void OutputPin::connect(InputPin *target)
{
    if (!target)
        throw std::invalid_argument("null pin pointer");
    if (!m_media)
        throw std::invalid_argument("no media for connection");
    try {
        target->attach(this);
    } catch (const std::exception &e) {
        throw std::exception(e);
    }
    m_peer = target;
}

void OutputPin::deliver()
{
    m_ready = true;
    if (m_peer)
        m_peer->receive();
}

} // namespace corvane
