#pragma once

#include <cstddef>
#include <cstdint>

namespace corvane::audio {

// Where the capture worker hands each captured block: one call per block, on the capture
// thread, in the order the device delivered them.
//
// `block` is the capture-ring block the worker has just filled, `bytes` long (one block of the
// capture format: channels × block length × 1, 2 or 4 bytes). It stays valid, unchanged, until
// onBlock returns; the worker writes that ring block again only once the ring has gone round
// (about fifteen seconds of sound later).
//
// `position` is the frame index of the block's first frame in the capture run: 0 for the first
// block after the capture starts, then block length after block length (consecutive blocks
// differ by exactly bytes ÷ frame bytes). It starts again at 0 with every start of capture.
// Frames the device delivered while the queue had no room for them are not counted (the worker
// counts them as overruns), so after an overrun the position runs behind the device's clock.
//
// onBlock must finish within one block's real-time length, and must not wait for the
// user-interface thread, lock or allocate. It cannot fail the worker: an implementation that may
// throw catches inside and says in its own header what it does then.
//
// Life: whoever opens capture with a sink keeps the sink alive until the capture is stopped
// (AudioDevices::stopCapture, the facade's stop(), or the next open); from then on no worker
// holds it.
class BlockSink
{
public:
    virtual void onBlock(const std::byte *block, std::size_t bytes,
                         std::uint64_t position) noexcept = 0;

protected:
    ~BlockSink() = default;
};

// Where the playback worker takes the sound it plays: one call per refill, on the playback
// thread, asking for the next block.
//
// `staging` is the playback ring's staging block, `bytes` long (one half of the playback buffer:
// a whole number of frames of the playback format). The call fills it with the block to be
// played after the one the device has just been given; whatever it leaves there is what is
// played. The worker copies it into the device's buffer at the next refill, so the block belongs
// to the source from the call until the next one.
//
// The same rules as onBlock: finish within one block's length, never wait, lock or allocate,
// never throw. The same life: kept alive until the playback is stopped.
class BlockSource
{
public:
    virtual void renderBlock(std::byte *staging, std::size_t bytes) noexcept = 0;

protected:
    ~BlockSource() = default;
};

} // namespace corvane::audio
