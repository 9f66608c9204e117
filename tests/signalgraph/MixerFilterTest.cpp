#include "GraphTestKit.h"
#include "MixerFilter.h"

#include <array>
#include <cmath>
#include <memory>

using namespace corvane;
using corvane::test::expectThrows;
using corvane::test::Feeder;
using corvane::test::Recorder;

namespace {

// A mixer with twelve feeders and a recorder on its output.
struct MixRig
{
    explicit MixRig(int32_t length)
    {
        for (int32_t pin = 1; pin <= 12; ++pin) {
            feeders[std::size_t(pin - 1)] =
                    std::make_unique<Feeder>(MediaFormat { length, 8000.0 });
            feeders[std::size_t(pin - 1)]->out.connect(mixer.inputPin(pin));
        }
        mixer.outputPin(13)->connect(&sink.in);
    }

    // Delivers one block to every input in pin order; `signal[i]` goes to pin i + 1.
    void cycle(const std::array<std::vector<float>, 12> &signal)
    {
        for (std::size_t i = 0; i < 12; ++i)
            feeders[i]->push(signal[i]);
    }

    MixerFilter mixer;
    std::array<std::unique_ptr<Feeder>, 12> feeders;
    Recorder sink;
};

} // namespace

TEST(MixerFilter, NormalizesUnmutedGainsToTheLoudestAndIgnoresMutedInputs)
{
    MixRig rig(2);
    std::array<std::vector<float>, 12> signal;
    signal.fill({ 1.0f, 1.0f }); // every muted input carries a signal that must not be heard
    signal[0] = { 1.0f, 0.0f };
    signal[1] = { 0.0f, 1.0f };
    rig.cycle(signal); // all muted after construction
    rig.mixer.setInputMuted(1, false);
    rig.mixer.setInputMuted(2, false);
    rig.cycle(signal); // unmuted, but their gains are still 0
    rig.mixer.setInputGain(1, 1.0);
    rig.mixer.setInputGain(2, 0.5);
    rig.mixer.setInputGain(3, 1.0); // muted: not counted either
    rig.cycle(signal);

    EXPECT_NEAR(rig.mixer.effectiveGain(1), 2.0 / 3.0, 1e-12);
    EXPECT_NEAR(rig.mixer.effectiveGain(2), 1.0 / 3.0, 1e-12);
    ASSERT_EQ(rig.sink.samples.size(), 6u);
    EXPECT_EQ(std::vector<float>(rig.sink.samples.begin(), rig.sink.samples.begin() + 4),
              std::vector<float>(4, 0.0f));
    EXPECT_NEAR(rig.sink.samples[4], 2.0 / 3.0, 1e-7);
    EXPECT_NEAR(rig.sink.samples[5], 1.0 / 3.0, 1e-7);
}

TEST(MixerFilter, RunsOncePerCycleOnTheDeliveryThatCompletesTheSet)
{
    MixRig rig(4);
    std::array<std::vector<float>, 12> signal;
    signal.fill(std::vector<float>(4, 0.0f));
    for (std::size_t i = 0; i < 11; ++i)
        rig.feeders[i]->push(signal[i]);
    EXPECT_EQ(rig.sink.blocks, 0);
    EXPECT_TRUE(rig.mixer.inputPin(1)->isReady());
    rig.feeders[11]->push(signal[11]);
    EXPECT_EQ(rig.sink.blocks, 1);
    EXPECT_FALSE(rig.mixer.inputPin(12)->isReady());
    EXPECT_TRUE(rig.mixer.inputPin(1)->isReady());

    rig.cycle(signal);
    rig.cycle(signal);
    EXPECT_EQ(rig.sink.blocks, 3);

    // An input of another length stops the mix until the lengths agree again.
    rig.feeders[3]->out.setFormat({ 2, 8000.0 });
    rig.cycle(signal);
    EXPECT_EQ(rig.sink.blocks, 3);
}

TEST(MixerFilter, RefusesBadPinsAndGainsKeepingThePreviousGain)
{
    MixerFilter mixer;
    expectThrows<std::domain_error>([&] { mixer.setInputGain(0, 0.5); }, "invalid pin number");
    expectThrows<std::domain_error>([&] { mixer.setInputGain(13, 0.5); }, "invalid pin number");
    mixer.setInputGain(4, 1.0);
    expectThrows<std::domain_error>([&] { mixer.setInputGain(4, 1.01); }, "invalid gain");
    expectThrows<std::domain_error>([&] { mixer.setInputGain(4, std::nan("")); }, "invalid gain");
    EXPECT_EQ(mixer.inputGain(4), 1.0);
}
