#pragma once

// Test helper: a sink that appends every block it receives.

#include "Filter.h"

#include <vector>

namespace corvane::test {

class BlockRecorder : public Filter
{
public:
    BlockRecorder() { in.bind(this); }

    bool process() override
    {
        if (!inputReady(in))
            return false;
        const MediaSample &media = *in.media();
        samples.insert(samples.end(), media.buffer(), media.buffer() + media.format.length);
        ++blocks;
        return true;
    }
    void configure(const MediaFormat &format) override { configured = format; }

    InputPin in;
    std::vector<float> samples;
    int blocks = 0;
    MediaFormat configured;
};

} // namespace corvane::test
