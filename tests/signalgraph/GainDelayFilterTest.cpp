#include "DelayFilter.h"
#include "GainFilter.h"
#include "GraphTestKit.h"

#include <cmath>
#include <numeric>

using namespace corvane;
using corvane::test::expectThrows;
using corvane::test::Feeder;
using corvane::test::Recorder;

TEST(GainFilter, ScalesAndRefusesANegativeOrNaNGainKeepingThePreviousOne)
{
    GainFilter gain;
    Feeder feed({ 3, 100.0 });
    Recorder sink;
    feed.out.connect(gain.inputPin(1));
    gain.outputPin(2)->connect(&sink.in);

    gain.setGain(0.5);
    feed.push({ 1.0f, -0.5f, 0.25f });
    gain.setGain(0.0);
    feed.push({ 1.0f, -0.5f, 0.25f });
    EXPECT_EQ(sink.samples, (std::vector<float> { 0.5f, -0.25f, 0.125f, 0.0f, -0.0f, 0.0f }));

    expectThrows<std::invalid_argument>([&] { gain.setGain(-0.5); }, "negative gain");
    expectThrows<std::invalid_argument>([&] { gain.setGain(std::nan("")); }, "negative gain");
    EXPECT_EQ(gain.gain(), 0.0);
}

// Delay D with blocks of L: the output is the input shifted by exactly D samples, zeros first,
// for every relation between D and L.
TEST(DelayFilter, DelaysExactlyAcrossBlockBoundaries)
{
    for (const auto &[delay, length] :
         { std::pair { 5, 3 }, { 2, 3 }, { 3, 3 }, { 0, 4 }, { 7, 1 } }) {
        DelayFilter filter;
        filter.setDelay(delay);
        Feeder feed({ length, 100.0 });
        Recorder sink;
        feed.out.connect(filter.inputPin(1));
        filter.outputPin(2)->connect(&sink.in);

        std::vector<float> input(static_cast<std::size_t>(length * 12));
        std::iota(input.begin(), input.end(), 1.0f);
        for (std::size_t start = 0; start < input.size(); start += std::size_t(length))
            feed.push({ input.begin() + long(start), input.begin() + long(start) + length });

        std::vector<float> expected(std::size_t(delay), 0.0f);
        expected.insert(expected.end(), input.begin(), input.end() - delay);
        EXPECT_EQ(sink.samples, expected) << "delay " << delay << ", blocks of " << length;
    }
}

TEST(DelayFilter, KeepsItsLineForTheSameLengthAndRefusesBadInput)
{
    DelayFilter filter;
    filter.setDelay(2);
    Feeder feed({ 2, 100.0 });
    Recorder sink;
    feed.out.connect(filter.inputPin(1));
    filter.outputPin(2)->connect(&sink.in);

    feed.push({ 1.0f, 2.0f });
    filter.setDelay(2); // same length: 1 and 2 are still in the line
    expectThrows<std::invalid_argument>([&] { filter.setDelay(-1); }, "negative delay");
    feed.push({ 3.0f, 4.0f });
    filter.setDelay(3); // new length: a line of silence
    feed.push({ 5.0f, 6.0f });
    EXPECT_EQ(sink.samples, (std::vector<float> { 0, 0, 1, 2, 0, 0 }));

    // Its own validation keeps its type; only errors from downstream become base exceptions.
    const MediaFormat noSamples { 0, 100.0 };
    expectThrows<std::length_error>([&] { filter.configure(noSamples); }, "invalid buffer length");
    expectThrows<std::domain_error>([&] { filter.configure({ 4, 0.0 }); }, "invalid sample rate");
}
