#include "AudioNotifier.h"

namespace corvane::audio {

AudioNotifier &AudioNotifier::instance()
{
    static AudioNotifier notifier;
    return notifier;
}

void AudioNotifier::setCaptureNotification(cNotification *notification) noexcept
{
    m_capture.store(notification, std::memory_order_release);
}

void AudioNotifier::setPlaybackNotification(cNotification *notification) noexcept
{
    m_playback.store(notification, std::memory_order_release);
}

cNotification *AudioNotifier::captureNotification() const noexcept
{
    return m_capture.load(std::memory_order_acquire);
}

cNotification *AudioNotifier::playbackNotification() const noexcept
{
    return m_playback.load(std::memory_order_acquire);
}

} // namespace corvane::audio
