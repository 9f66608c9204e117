#pragma once

#include "BlockSink.h"
#include "PlaybackFeed.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>

namespace corvane {

// Plays an analyzed recording, or a stretch of it, on the playback device.
//
// play() opens the device with halves of one feed (four blocks) and this player as its block
// source, stages the first feed and starts; after that the playback worker calls renderBlock()
// once per half on its own thread, which stages the next feed. The listener hears of each new
// position and of the end on that thread: it must only post to the user-interface thread (a
// queued call), which then repaints or calls stop(). The end is reported once the device has
// played the last of the recording, not when the last feed is staged, so stopping on it cuts
// nothing off. stop() joins the worker, so no listener call comes after it returns, and the
// destructor stops, so the device never holds a destroyed player.
//
// play(), stop() and the destructor belong to the user-interface thread; playing(), position()
// and setLooping() may be called from any thread.
class RecordingPlayer final : public audio::BlockSource
{
public:
    enum class Event { Moved, Ended };
    using Listener = std::function<void(Event)>;

    struct Request
    {
        std::filesystem::path signalFile;
        int32_t blockLength = 0;
        int32_t sampleRate = 0;
        int32_t bitsPerSample = 16;
        int32_t sampleCount = 0;
        int32_t start = 0; // blocks to play, [start, end); may reach outside the recording
        int32_t end = 0;
        bool looping = false;
        float volume = 1.0f; // playback level 0 ... 1, as the drones' volume (VolumeCurve.h)
    };

    explicit RecordingPlayer(Listener listener);
    ~RecordingPlayer();
    RecordingPlayer(const RecordingPlayer &) = delete;
    RecordingPlayer &operator=(const RecordingPlayer &) = delete;

    // Stops what is playing, then starts `request`. False, and not playing, when there is nothing
    // to play, the signal file cannot be read, or the device does not open or start (the device
    // layer has reported why to its error handler).
    bool play(const Request &request);
    void stop() noexcept;
    void setLooping(bool looping) noexcept { m_feed.setLooping(looping); }
    bool looping() const noexcept { return m_feed.looping(); }

    bool playing() const noexcept { return m_playing.load(std::memory_order_acquire); }
    // The block being played (the first of the feed staged last).
    int32_t position() const noexcept { return m_feed.position(); }
    int32_t rangeStart() const noexcept { return m_feed.rangeStart(); }
    int32_t rangeEnd() const noexcept { return m_feed.rangeEnd(); }

    // Playback thread: stages the next feed into `staging` and tells the listener. A staging
    // block smaller than a feed, or a call while not playing, leaves the block as it is. An
    // exception from the listener is caught and written to the audio debug log; playback goes
    // on.
    void renderBlock(std::byte *staging, std::size_t bytes) noexcept override;

private:
    Listener m_listener;
    PlaybackFeed m_feed;
    std::atomic<bool> m_playing { false };
    std::atomic<int> m_quietFeeds { 0 }; // feeds after the end, playback thread
    bool m_deviceOpen = false;           // user-interface thread
};

} // namespace corvane
