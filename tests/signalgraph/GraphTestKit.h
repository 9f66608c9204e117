#pragma once

// Small helpers for driving filters by hand: a source pin that pushes given samples, a sink that
// keeps everything it receives, and a check of an exception's type and message.

#include "Filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace corvane::test {

// Pushes blocks of floats, as a source filter would.
struct Feeder
{
    explicit Feeder(MediaFormat format) { out.setFormat(format); }

    // Pushes one block of the pin's length.
    void push(const float *block)
    {
        std::copy_n(block, out.media()->format.length, out.media()->buffer());
        out.deliver();
        out.clearReady();
        out.media()->position += out.media()->format.length;
    }
    void push(const std::vector<float> &block) { push(block.data()); }

    // Pushes a whole signal block by block; a last partial block is left out.
    void pushAll(const std::vector<float> &signal)
    {
        const auto length = static_cast<size_t>(out.media()->format.length);
        for (size_t at = 0; at + length <= signal.size(); at += length)
            push(signal.data() + at);
    }

    OutputPin out;
};

// Keeps every sample that reaches it.
class Recorder : public Filter
{
public:
    Recorder()
        : Filter(1, 0)
    {
    }
    bool process() override
    {
        if (!inputReady(in))
            return false;
        const float *x = in.media()->buffer();
        samples.insert(samples.end(), x, x + in.media()->format.length);
        ++blocks;
        return true;
    }
    void configure(const MediaFormat &format) override { configured = format; }

    InputPin &in = inputs()[0];
    std::vector<float> samples;
    int blocks = 0;
    MediaFormat configured;
};

template<typename E>
void expectThrows(const std::function<void()> &f, const std::string &message)
{
    try {
        f();
        ADD_FAILURE() << "expected an exception \"" << message << "\"";
    } catch (const E &e) {
        EXPECT_EQ(std::string(e.what()), message);
    } catch (...) {
        ADD_FAILURE() << "wrong exception type for \"" << message << "\"";
    }
}

} // namespace corvane::test
