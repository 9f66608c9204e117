#pragma once

#include "SampleFormat.h"
#include "WakeSignal.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

namespace corvane::audio {

// The looping two-half buffer between the playback worker and a device's output callback.
//
// The device plays the halves in turn. On entering a half it hands the other one to the worker
// (refillNeeded() is posted); the worker copies the staging block into it and hands it back.
// Each half is therefore owned by exactly one side at a time, so neither reads what the other
// writes. Should the worker be late with a half the device needs, the device plays silence
// until it arrives and counts an underrun, rather than playing a half being rewritten.
//
// Both halves start silent. The device side applies the volume as it copies out.
class PlaybackBuffer
{
public:
    // Two silent halves of `halfBytes` (a whole number of frames), the device at the start of
    // half 0. Allocates; only while no device and no worker uses the buffer.
    void prepare(const SampleFormat &format, int32_t halfBytes);

    const SampleFormat &format() const noexcept { return m_format; }
    int32_t halfBytes() const noexcept { return m_halfBytes; }

    // Amplitude factor 0 ... 1 applied on the way out; any thread.
    void setGain(float gain) noexcept { m_gain.store(gain, std::memory_order_relaxed); }
    float gain() const noexcept { return m_gain.load(std::memory_order_relaxed); }

    // Device side: fills `frameCount` frames in the device's sample format (24-bit samples
    // widened to the full 32-bit range). Plays silence while a needed half is not back yet.
    void render(void *out, std::size_t frameCount) noexcept;
    // Device side, for a device that can wait: fills at most `maxFrames` frames and stops
    // early, without playing silence, where a half is not back yet. Returns the frames filled.
    std::size_t renderAvailable(void *out, std::size_t maxFrames) noexcept;

    // Worker side: the half handed over for refilling (0 or 1), or -1 when there is none.
    int pendingHalf() const noexcept;
    std::byte *half(int index) noexcept { return m_halves[index].get(); }
    // Gives a refilled half back to the device.
    void finishRefill(int index) noexcept;

    WakeSignal &refillNeeded() noexcept { return m_refillNeeded; }
    WakeSignal &refilled() noexcept { return m_refilled; }

    uint64_t underruns() const noexcept { return m_underruns.load(std::memory_order_relaxed); }

private:
    enum Owner : int { Device, Worker };

    std::size_t renderFrames(std::byte *out, std::size_t frameCount, bool fillSilence) noexcept;

    SampleFormat m_format { 1, 11025, 16 };
    int32_t m_halfBytes = 0;
    std::array<std::unique_ptr<std::byte[]>, 2> m_halves;
    std::array<std::atomic<int>, 2> m_owner {};
    std::atomic<float> m_gain { 1.0f };
    std::atomic<uint64_t> m_underruns { 0 };
    WakeSignal m_refillNeeded;
    WakeSignal m_refilled;

    // Device-side state, touched only by the device's thread.
    int m_playing = 0;
    std::size_t m_offset = 0;
    bool m_entered = false;
};

} // namespace corvane::audio
