#include "RecordingPlayer.h"

#include "AudioFacade.h"
#include "DebugLog.h"

namespace corvane {

RecordingPlayer::RecordingPlayer(Listener listener)
    : m_listener(std::move(listener))
{
}

RecordingPlayer::~RecordingPlayer()
{
    stop();
}

bool RecordingPlayer::play(const Request &request)
{
    stop();
    if (request.sampleCount <= 0 || request.end <= request.start)
        return false;
    if (!m_feed.prepare(request.signalFile, request.blockLength, request.sampleRate,
                        request.bitsPerSample, request.sampleCount))
        return false;
    m_feed.setRange(request.start, request.end);
    m_feed.setLooping(request.looping);
    m_quietFeeds.store(0, std::memory_order_relaxed);

    audio::setPlaybackFormat(m_feed.feedFormat());
    m_deviceOpen = true;
    if (!audio::openPlayback(m_feed.feedBytes(), this, request.volume)) {
        stop();
        return false;
    }
    // The worker waits for the device's first hand-over, so the staging block is ours until
    // startPlayback().
    BlockRing &ring = audio::playbackRing();
    m_feed.feed(ring.blockAddress(audio::PlaybackWorker::kStagingIndex));
    m_playing.store(true, std::memory_order_release);
    if (!audio::startPlayback()) {
        stop();
        return false;
    }
    return true;
}

void RecordingPlayer::stop() noexcept
{
    m_playing.store(false, std::memory_order_release);
    if (!m_deviceOpen)
        return;
    // Joins the worker and drops it, and with it the device's only reference to this player.
    audio::stopPlayback();
    m_deviceOpen = false;
}

void RecordingPlayer::renderBlock(std::byte *staging, std::size_t bytes) noexcept
{
    if (!playing() || bytes < static_cast<std::size_t>(m_feed.feedBytes()))
        return;
    const bool more = m_feed.feed(staging);
    if (!m_listener)
        return;
    try {
        if (more) {
            m_listener(Event::Moved);
            return;
        }
        // The first quiet feed is asked for while the device still plays the recording's last
        // feed; only at the second has that feed been heard whole, and the end may stop the
        // device.
        if (m_quietFeeds.fetch_add(1, std::memory_order_acq_rel) == 1)
            m_listener(Event::Ended);
    } catch (...) {
        audio::debugLogCaught("Playback listener failed");
    }
}

} // namespace corvane
