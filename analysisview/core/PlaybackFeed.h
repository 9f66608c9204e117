#pragma once

#include "PagePool.h"
#include "PagedFloatReader.h"
#include "PcmFormat.h"
#include "Pins.h"
#include "WaveDestinationFilter.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <utility>

namespace corvane {

// Turns the signal file of an analysis into PCM for the playback device, four blocks at a time,
// over a range of blocks, once or looping.
//
// The feed reads through a reader and a page pool of its own, so the playback thread never
// touches the pages the panes are painting from. Blocks outside the range, and outside the
// recording (a range that starts before it, or runs past its end), are silence.
//
// prepare() and setRange() run on the user-interface thread while the device is stopped;
// feed() then runs on the playback thread alone and allocates nothing. position() and
// setLooping() may be called from any thread.
class PlaybackFeed
{
public:
    static constexpr int32_t kBlocksPerFeed = 4;

    PlaybackFeed();
    ~PlaybackFeed();
    PlaybackFeed(const PlaybackFeed &) = delete;
    PlaybackFeed &operator=(const PlaybackFeed &) = delete;

    // The blocks to play for a selection [selStart, selEnd) (none when empty: the whole
    // recording), moved earlier by the analyzer's delay so that what is heard is what the panes
    // show under the selection.
    static std::pair<int32_t, int32_t> rangeFor(int32_t selStart, int32_t selEnd,
                                                int32_t sampleCount, double maxDelaySeconds,
                                                double secondsPerBlock) noexcept;

    // Opens the signal file and sizes the PCM conversion: one channel of `bitsPerSample` (8, 16
    // or 24) at `sampleRate`, `blockLength` frames per block, `sampleCount` blocks in the
    // recording. False, with nothing to play, when the file cannot be opened or the format
    // converted. Allocates.
    bool prepare(const std::filesystem::path &signalFile, int32_t blockLength, int32_t sampleRate,
                 int32_t bitsPerSample, int32_t sampleCount);
    // The PCM format of one feed: kBlocksPerFeed blocks, mono.
    const PcmFormat &feedFormat() const noexcept { return m_feedFormat; }
    // Bytes of one feed, sized from the depth's slot bytes (4 for 24 bits).
    int32_t feedBytes() const noexcept { return static_cast<int32_t>(m_feedFormat.blockBytes()); }

    // Plays [start, end) from its start.
    void setRange(int32_t start, int32_t end) noexcept;
    int32_t rangeStart() const noexcept { return m_start; }
    int32_t rangeEnd() const noexcept { return m_end; }
    void setLooping(bool looping) noexcept { m_looping.store(looping, std::memory_order_relaxed); }
    bool looping() const noexcept { return m_looping.load(std::memory_order_relaxed); }

    // The next feedBytes() of PCM into `out`. Returns false once the range has been played
    // (and not looped) and the last feed handed out: `out` then holds silence.
    bool feed(std::byte *out) noexcept;

    // The first block of the feed handed out last.
    int32_t position() const noexcept { return m_shown.load(std::memory_order_relaxed); }
    bool finished() const noexcept { return m_finished.load(std::memory_order_relaxed); }

private:
    void fillBlock(float *to, int32_t block) noexcept;
    void silence(std::byte *out) const noexcept;

    PagePool m_pool;
    PagedFloatReader m_reader;
    OutputPin m_pin;
    WaveDestinationFilter m_destination;
    PcmFormat m_feedFormat;
    int32_t m_blockLength = 0;
    int32_t m_sampleCount = 0;
    int32_t m_start = 0;
    int32_t m_end = 0;
    int32_t m_next = 0; // playback thread only
    std::atomic<int32_t> m_shown { 0 };
    std::atomic<bool> m_looping { false };
    std::atomic<bool> m_finished { false };
};

} // namespace corvane
