#pragma once

#include "MediaFormat.h"
#include "MediaSample.h"

#include <memory>

namespace corvane {

class Filter;
class OutputPin;

// The consuming end of a connection; a member of its filter.
class InputPin
{
public:
    // Stores the owning filter. Throws std::invalid_argument "filter pointer is null".
    void bind(Filter *owner);

    // Takes the source's media sample and configures the owner with its format.
    // Throws std::domain_error "Input pin not bound to filter", std::invalid_argument
    // "Null pointer to output pin" or "Null pointer to output pin media sample"; an exception
    // from the owner's configure is rethrown as a base std::exception copy.
    void attach(OutputPin *source);

    // Marks a block as delivered and lets the owner process it; the flag stays set when the
    // owner could not run yet (a mixer waiting for its other inputs).
    // Throws std::domain_error "pin not bound to filter".
    void receive();

    bool isReady() const noexcept { return m_ready; }
    MediaSample *media() const noexcept { return m_media; }
    Filter *owner() const noexcept { return m_owner; }

private:
    bool m_ready = false;
    MediaSample *m_media = nullptr; // not owned: the sample of the attached output pin
    Filter *m_owner = nullptr;      // not owned
};

// The producing end of a connection; owns the media sample of the connection.
class OutputPin
{
public:
    // Creates the media sample on first use; reallocates (zeroed) and resets the position only
    // when the length changes; always stores the rate; then re-configures the peer.
    // Throws std::length_error "invalid buffer length", std::domain_error "invalid sample rate";
    // an exception from downstream is rethrown as a base std::exception copy.
    void setFormat(const MediaFormat &format);

    // Attaches `target` to this pin and, once that succeeded, makes it the peer.
    // Throws std::invalid_argument "null pin pointer" or "no media for connection"; an exception
    // from the attach is rethrown as a base std::exception copy.
    void connect(InputPin *target);

    // Hands the current block to the peer, which runs the whole subtree below it.
    void deliver();
    void clearReady() noexcept { m_ready = false; }

    bool isReady() const noexcept { return m_ready; }
    MediaSample *media() const noexcept { return m_media.get(); }
    InputPin *peer() const noexcept { return m_peer; }

private:
    bool m_ready = false;
    std::unique_ptr<MediaSample> m_media;
    InputPin *m_peer = nullptr; // not owned
};

} // namespace corvane
