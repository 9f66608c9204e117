#include "GraphTestKit.h"
#include "SynthSourceFilter.h"

#include <cmath>
#include <limits>

using namespace corvane;
using corvane::test::expectThrows;
using corvane::test::Recorder;

namespace {

// An oscillator with a recorder on its output.
struct SynthRig
{
    SynthRig(int32_t length, double rate)
    {
        synth.configure({ length, rate });
        synth.outputPin(1)->connect(&sink.in);
    }
    std::vector<float> run(int blocks)
    {
        sink.samples.clear();
        for (int i = 0; i < blocks; ++i)
            EXPECT_TRUE(synth.process());
        return sink.samples;
    }
    SynthSourceFilter synth;
    Recorder sink;
};

void expectNear(const std::vector<float> &actual, const std::vector<float> &expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-6) << "sample " << i;
}

} // namespace

// At a quarter of the rate the phase steps by exactly pi/2, visiting each quarter of the shape.
TEST(SynthSourceFilter, PlaysEachShapeAndRestartsItsPhaseOnANewWaveform)
{
    SynthRig rig(8, 8000.0);
    rig.synth.setFrequency(2000.0);
    rig.synth.setWaveform(SynthSourceFilter::kTriangle);
    expectNear(rig.run(1), { 0, 1, 0, -1, 0, 1, 0, -1 });
    rig.run(1);
    rig.synth.setWaveform(SynthSourceFilter::kSine);
    expectNear(rig.run(1), { 0, 1, 0, -1, 0, 1, 0, -1 });
    rig.synth.setWaveform(SynthSourceFilter::kSquare);
    expectNear(rig.run(1), { 1, 1, -1, -1, 1, 1, -1, -1 });
    rig.synth.setWaveform(99); // unknown codes play a square too
    expectNear(rig.run(1), { 1, 1, -1, -1, 1, 1, -1, -1 });

    // 0.4 sin 2x + 0.2 (sin x + sin 3x) + 0.1 (sin 4x + sin 5x) at x = 0, pi/2, pi, 3pi/2.
    rig.synth.setWaveform(SynthSourceFilter::kHarmonicMix);
    expectNear(rig.run(1), { 0, 0.1f, 0, -0.1f, 0, 0.1f, 0, -0.1f });
}

// The blocks of a long tone join without a seam, and the wrap gives the same bits as
// subtracting one turn, the usual case.
TEST(SynthSourceFilter, BlocksJoinWithoutAPhaseJump)
{
    SynthRig blocks(100, 44100.0), whole(1000, 44100.0);
    blocks.synth.setWaveform(SynthSourceFilter::kSine);
    whole.synth.setWaveform(SynthSourceFilter::kSine);
    blocks.synth.setFrequency(440.0);
    whole.synth.setFrequency(440.0);
    const std::vector<float> joined = blocks.run(10);
    EXPECT_EQ(joined, whole.run(1));

    std::vector<float> reference;
    const double step = 440.0 * SynthSourceFilter::kTwoPi / 44100.0;
    for (double phase = 0.0; reference.size() < 1000;) {
        reference.push_back(static_cast<float>(std::sin(phase)));
        phase += step;
        while (phase >= SynthSourceFilter::kTwoPi)
            phase -= SynthSourceFilter::kTwoPi;
    }
    EXPECT_EQ(joined, reference);
}

TEST(SynthSourceFilter, ExtremeFrequenciesStayBoundedOrGoSilent)
{
    SynthRig rig(64, 44100.0);
    rig.synth.setWaveform(SynthSourceFilter::kTriangle);
    for (double hz : { 1.0e300, -440.0, -1.0e12 }) {
        rig.synth.setFrequency(hz);
        for (float y : rig.run(2))
            EXPECT_LE(std::abs(y), 1.0f) << hz << " Hz";
        EXPECT_GE(rig.synth.phase(), 0.0);
        EXPECT_LT(rig.synth.phase(), SynthSourceFilter::kTwoPi);
    }
    for (double hz : { std::numeric_limits<double>::infinity(), std::nan("") }) {
        rig.synth.setFrequency(hz);
        EXPECT_EQ(rig.run(1), std::vector<float>(64, 0.0f)) << hz << " Hz";
    }
    EXPECT_EQ(rig.synth.outputPin(1)->media()->position, 64 * 8);
}
