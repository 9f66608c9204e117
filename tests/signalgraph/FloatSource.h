#pragma once

// Test helper: pushes blocks of floats into a graph, standing in for a PCM source.

#include "Filter.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace corvane::test {

class FloatSource
{
public:
    explicit FloatSource(MediaFormat format) { out.setFormat(format); }

    // Pushes one block of the configured length.
    void push(const float *block)
    {
        MediaSample &media = *out.media();
        std::memcpy(media.buffer(), block,
                    sizeof(float) * static_cast<size_t>(media.format.length));
        out.deliver();
        out.clearReady();
        media.position += media.format.length;
    }

    // Pushes a whole signal block by block; the signal's length must be a multiple of the block.
    void pushAll(const std::vector<float> &signal)
    {
        const size_t length = static_cast<size_t>(out.media()->format.length);
        for (size_t at = 0; at + length <= signal.size(); at += length)
            push(signal.data() + at);
    }

    OutputPin out;
};

} // namespace corvane::test
