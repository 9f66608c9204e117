#pragma once

#include "MediaFormat.h"

#include <cstdint>
#include <vector>

namespace corvane {

// The block buffer of one connection. Owned by the output pin that created it and read by the
// input pin attached to it. The buffer is zero-filled whenever it is (re)allocated, so a reader
// that looks before the first block sees silence.
class MediaSample
{
public:
    // Running count of samples that passed through this connection: -1 until the first
    // allocation, 0 after every (re)allocation and every configure of the producing filter.
    // The producer adds the block length after each block; filters use it as a lock-step check.
    int32_t position = -1;

    MediaFormat format;

    // Null until the first allocation.
    float *buffer() noexcept { return m_buffer.empty() ? nullptr : m_buffer.data(); }
    const float *buffer() const noexcept { return m_buffer.empty() ? nullptr : m_buffer.data(); }

    // Replaces the buffer by `length` zeroed floats. Only OutputPin::setFormat calls this.
    void allocate(int32_t length) { m_buffer.assign(static_cast<std::size_t>(length), 0.0f); }

private:
    std::vector<float> m_buffer;
};

} // namespace corvane
