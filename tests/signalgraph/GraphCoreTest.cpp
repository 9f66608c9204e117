#include "AutoCorrelateFilter.h"
#include "DecimationFilter.h"
#include "DelayFilter.h"
#include "EnergyDetectFilter.h"
#include "FIRHiLoFilter.h"
#include "Filter.h"
#include "GainFilter.h"
#include "GraphTestKit.h"
#include "MixerFilter.h"
#include "PitchDetectFilter.h"
#include "SplitterFilter.h"
#include "SynthSourceFilter.h"
#include "WaveDestinationFilter.h"
#include "WaveSourceFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

using namespace corvane;
using corvane::test::expectThrows;

namespace {

// A pass-through filter that records the order in which filters ran.
class Probe : public Filter
{
public:
    Probe(std::vector<std::string> *log, std::string name)
        : Filter(1, 1)
        , m_log(log)
        , m_name(std::move(name))
    {
    }

    bool process() override
    {
        if (!inputReady(in) || !outputInStep(out, *in.media()))
            return false;
        m_log->push_back(m_name);
        deliverAll(out);
        return true;
    }
    void configure(const MediaFormat &format) override { setOutputFormat(out, format); }

    InputPin &in = inputs()[0];
    OutputPin &out = outputs()[0];

private:
    std::vector<std::string> *m_log;
    std::string m_name;
};

} // namespace

TEST(GraphCore, EveryWiringErrorHasItsTypeAndMessage)
{
    InputPin unbound;
    expectThrows<std::invalid_argument>([&] { unbound.bind(nullptr); }, "filter pointer is null");

    OutputPin source;
    expectThrows<std::domain_error>([&] { unbound.attach(&source); },
                                    "Input pin not bound to filter");
    expectThrows<std::domain_error>([&] { unbound.receive(); }, "pin not bound to filter");

    std::vector<std::string> log;
    Probe probe(&log, "p");
    expectThrows<std::invalid_argument>([&] { probe.in.attach(nullptr); },
                                        "Null pointer to output pin");
    expectThrows<std::invalid_argument>([&] { probe.in.attach(&source); },
                                        "Null pointer to output pin media sample");

    expectThrows<std::invalid_argument>([&] { source.connect(&probe.in); },
                                        "no media for connection");
    EXPECT_EQ(source.peer(), nullptr);
    expectThrows<std::length_error>(
            [&] {
                source.setFormat({ 0, 8000.0 });
            },
            "invalid buffer length");
    expectThrows<std::domain_error>([&] { source.setFormat({ 16, 0.0 }); }, "invalid sample rate");
    expectThrows<std::domain_error>([&] { source.setFormat({ 16, -1.0 }); }, "invalid sample rate");
    expectThrows<std::domain_error>(
            [&] {
                source.setFormat({ 16, std::nan("") });
            },
            "invalid sample rate");
    source.setFormat({ 16, 8000.0 });
    expectThrows<std::invalid_argument>([&] { source.connect(nullptr); }, "null pin pointer");
}

// Each filter finds its pins by the numbers its header gives, inputs first, and its inputs are
// bound to it from the moment it is made; a sink has no output to give.
TEST(GraphCore, EveryFilterNumbersItsPinsInputsFirstAndOwnsItsInputs)
{
    AutoCorrelateFilter periodicity;
    DecimationFilter decimator;
    DelayFilter delay;
    EnergyDetectFilter energy;
    FIRHiLoFilter split;
    GainFilter gain;
    MixerFilter mixer;
    PitchDetectFilter pitch;
    SplitterFilter fork;
    SynthSourceFilter synth;
    WaveDestinationFilter destination;
    WaveSourceFilter source;
    const struct
    {
        const char *name;
        Filter *filter;
        int32_t inputs;
        int32_t outputs;
    } filters[] = {
        { "periodicity", &periodicity, 1, 0 },
        { "decimation", &decimator, 1, 1 },
        { "delay", &delay, 1, 1 },
        { "energy", &energy, 1, 0 },
        { "FIR split", &split, 1, 2 },
        { "gain", &gain, 1, 1 },
        { "mixer", &mixer, 12, 1 },
        { "pitch", &pitch, 1, 0 },
        { "splitter", &fork, 1, 2 },
        { "synth", &synth, 0, 1 },
        { "destination", &destination, 1, 0 },
        { "source", &source, 0, 1 },
    };
    for (const auto &[name, filter, inputs, outputs] : filters) {
        SCOPED_TRACE(name);
        EXPECT_EQ(filter->inputPin(0), nullptr);
        for (int32_t n = 1; n <= inputs; ++n) {
            ASSERT_NE(filter->inputPin(n), nullptr) << n;
            EXPECT_EQ(filter->inputPin(n)->owner(), filter) << n;
        }
        EXPECT_EQ(filter->inputPin(inputs + 1), nullptr);
        if (outputs == 0) {
            expectThrows<std::invalid_argument>([&] { filter->outputPin(1); }, "no output pins");
            continue;
        }
        EXPECT_EQ(filter->outputPin(inputs), nullptr);
        for (int32_t n = inputs + 1; n <= inputs + outputs; ++n)
            EXPECT_NE(filter->outputPin(n), nullptr) << n;
        if (outputs == 2) {
            EXPECT_NE(filter->outputPin(inputs + 1), filter->outputPin(inputs + 2));
        }
        EXPECT_EQ(filter->outputPin(inputs + outputs + 1), nullptr);
    }
}

TEST(GraphCore, ErrorsFromDownstreamArriveAsBaseExceptions)
{
    std::vector<std::string> log;
    Probe first(&log, "first");
    InputPin unboundTarget;
    OutputPin source;
    source.setFormat({ 8, 1000.0 });
    source.connect(&first.in);
    // first's output exists now; connecting it to an unbound pin fails inside attach.
    try {
        first.out.connect(&unboundTarget);
        FAIL() << "connect to an unbound pin must throw";
    } catch (const std::domain_error &) {
        FAIL() << "the error must reach the caller as a base std::exception";
    } catch (const std::exception &) {
    }
    EXPECT_EQ(first.out.peer(), nullptr);
}

// A splitter's two outputs carry copies of its input; the push runs each branch to its end,
// lower pin first.
TEST(GraphCore, PushIsDepthFirstLowerPinFirst)
{
    std::vector<std::string> log;
    SplitterFilter fork;
    Probe a1(&log, "a1"), a2(&log, "a2"), b1(&log, "b1");

    OutputPin source;
    source.setFormat({ 2, 100.0 });
    source.connect(fork.inputPin(1));
    fork.outputPin(2)->connect(&a1.in);
    a1.out.connect(&a2.in);
    fork.outputPin(3)->connect(&b1.in);

    source.media()->buffer()[0] = 0.25f;
    source.media()->buffer()[1] = -1.0f;
    source.deliver();
    EXPECT_EQ(log, (std::vector<std::string> { "a1", "a2", "b1" }));
    EXPECT_FALSE(fork.inputPin(1)->isReady());
    EXPECT_FALSE(fork.outputPin(2)->isReady());
    for (int pin : { 2, 3 }) {
        const MediaSample &copy = *fork.outputPin(pin)->media();
        EXPECT_EQ(std::vector<float>(copy.buffer(), copy.buffer() + 2),
                  (std::vector<float> { 0.25f, -1.0f }));
        EXPECT_EQ(copy.position, 2);
    }
}

TEST(GraphCore, NewBuffersAreSilentAndASameLengthFormatKeepsThem)
{
    OutputPin source;
    source.setFormat({ 6, 100.0 });
    MediaSample *media = source.media();
    ASSERT_NE(media->buffer(), nullptr);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(media->buffer()[i], 0.0f);

    const float *before = media->buffer();
    media->position = 42;
    source.setFormat({ 6, 200.0 });
    EXPECT_EQ(media->buffer(), before);
    EXPECT_EQ(media->position, 42);
    EXPECT_EQ(media->format.sampleRate, 200.0);

    source.setFormat({ 12, 200.0 });
    EXPECT_EQ(media->position, 0);
    EXPECT_EQ(media->format.length, 12);
}

TEST(GraphCore, AFilterOutOfStepSkipsBlocksUntilReconfigured)
{
    std::vector<std::string> log;
    Probe first(&log, "first"), second(&log, "second");
    OutputPin source;
    source.setFormat({ 4, 100.0 });
    source.connect(&first.in);
    first.out.connect(&second.in);

    source.deliver();
    source.media()->position += 4;
    EXPECT_EQ(log.size(), 2u);

    // Re-configuring only the downstream filter resets its output, so it falls out of step.
    second.configure(second.in.media()->format);
    log.clear();
    for (int i = 0; i < 3; ++i) {
        source.deliver();
        source.media()->position += 4;
    }
    EXPECT_EQ(log, (std::vector<std::string> { "first", "first", "first" }));
    EXPECT_TRUE(second.in.isReady());

    // A format change at the source re-configures the whole chain and restores the lock-step.
    source.setFormat({ 4, 100.0 });
    first.configure(first.in.media()->format);
    source.media()->position = 0;
    log.clear();
    source.deliver();
    EXPECT_EQ(log, (std::vector<std::string> { "first", "second" }));
}

// After 2^31 samples (about 13 hours at 44.1 kHz) positions wrap instead of overflowing, and
// the lock-step check keeps holding.
TEST(GraphCore, PositionsWrapAndStayInStep)
{
    std::vector<std::string> log;
    Probe first(&log, "first");
    OutputPin source;
    source.setFormat({ 4, 100.0 });
    source.connect(&first.in);
    source.media()->position = INT32_MAX - 5;
    first.out.media()->position = INT32_MAX - 5;
    for (int i = 0; i < 3; ++i) {
        source.deliver();
        source.media()->position =
                static_cast<int32_t>(static_cast<uint32_t>(source.media()->position) + 4u);
    }
    EXPECT_EQ(log.size(), 3u);
    EXPECT_EQ(first.out.media()->position, INT32_MIN + 6);
}
