#pragma once

#include "cNotification.h"

#include <atomic>

namespace corvane::audio {

// The process-wide holder of the capture and the playback notification (not owned). They are
// set on the user-interface thread when devices open and read by the workers.
class AudioNotifier
{
public:
    static AudioNotifier &instance();

    void setCaptureNotification(cNotification *notification) noexcept;
    void setPlaybackNotification(cNotification *notification) noexcept;
    cNotification *captureNotification() const noexcept;
    cNotification *playbackNotification() const noexcept;

private:
    AudioNotifier() = default;

    std::atomic<cNotification *> m_capture { nullptr };
    std::atomic<cNotification *> m_playback { nullptr };
};

} // namespace corvane::audio
