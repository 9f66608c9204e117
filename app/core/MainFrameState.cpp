#include "MainFrameState.h"

namespace corvane {

MainFrameState::Toggle MainFrameState::togglePlay() noexcept
{
    if (m_playing) {
        m_playing = false;
        return Toggle::Stopped;
    }
    if (m_looping)
        return Toggle::Refused;
    m_playing = true;
    return Toggle::Started;
}

MainFrameState::Toggle MainFrameState::toggleLoop() noexcept
{
    if (m_looping) {
        m_looping = false;
        return Toggle::Stopped;
    }
    if (m_playing)
        return Toggle::Refused;
    m_looping = true;
    return Toggle::Started;
}

bool MainFrameState::zoomIn() noexcept
{
    if (m_zoom >= kMaxZoom)
        return false;
    ++m_zoom;
    return true;
}

bool MainFrameState::zoomOut() noexcept
{
    if (m_zoom <= kMinZoom)
        return false;
    --m_zoom;
    return true;
}

} // namespace corvane
