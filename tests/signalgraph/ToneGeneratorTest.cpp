#include "GraphTestKit.h"
#include "ToneGenerator.h"

#include <cmath>

using namespace corvane;
using corvane::test::expectThrows;

namespace {

std::vector<int16_t> samples(const std::vector<uint8_t> &bytes)
{
    std::vector<int16_t> out(bytes.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = int16_t(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return out;
}

} // namespace

TEST(ToneGenerator, SoundsOnlyTheVoicesThatAreOnAtTheirShareOfTheLevel)
{
    ToneGenerator tones;
    std::vector<uint8_t> buffer(16, 0xAB);
    tones.setup({ 4, 2, 8000, 16 }, buffer.data());
    tones.generate();
    EXPECT_EQ(samples(buffer), std::vector<int16_t>(8, 0)); // every voice off

    tones.setGeneratorFrequency(3, 2000.0);
    tones.setGeneratorWaveform(3, SynthSourceFilter::kSine);
    tones.generatorOn(3);
    tones.generate();
    EXPECT_EQ(samples(buffer), (std::vector<int16_t> { 0, 0, 32767, 0, 0, 0, -32767, 0 }));

    // Two full-scale voices in phase: each contributes half, so at level 0.5 the mix peaks at
    // half scale rather than clipping at full.
    tones.setGeneratorWaveform(3, SynthSourceFilter::kSquare);
    tones.setGeneratorFrequency(7, 2000.0);
    tones.setGeneratorLevel(7, 1.0);
    tones.generatorOn(7);
    tones.setLevel(0.5);
    tones.generate();
    EXPECT_EQ(samples(buffer), (std::vector<int16_t> { 16383, 0, 16383, 0, -16383, 0, -16383, 0 }));

    tones.generatorOff(3);
    tones.generatorOff(7);
    tones.generate();
    EXPECT_EQ(samples(buffer), std::vector<int16_t>(8, 0));
}

TEST(ToneGenerator, CanBeSetUpAgainForANewFormat)
{
    ToneGenerator tones;
    std::vector<uint8_t> first(8);
    tones.setup({ 8, 1, 8000, 8 }, first.data());
    tones.generatorOn(0); // a square at 0 Hz: full scale
    tones.generate();
    EXPECT_EQ(first, std::vector<uint8_t>(8, 255));

    std::vector<uint8_t> second(8, 0xAB);
    tones.setup({ 4, 1, 4000, 8 }, second.data());
    tones.generate();
    EXPECT_EQ(second, (std::vector<uint8_t> { 255, 255, 255, 255, 0xAB, 0xAB, 0xAB, 0xAB }));

    // The output's format errors reach the caller of generate.
    tones.output().setTarget({ 4, 1, 8000, 8 }, second.data());
    expectThrows<std::invalid_argument>([&] { tones.generate(); }, "sample rates do not match");
}

TEST(ToneGenerator, RefusesBadIdsAndLevels)
{
    ToneGenerator tones;
    expectThrows<std::invalid_argument>([&] { tones.setGeneratorFrequency(12, 440.0); },
                                        "invalid generator id");
    try {
        tones.setGeneratorLevel(12, 0.5);
        ADD_FAILURE() << "a bad id must throw";
    } catch (const char *message) {
        EXPECT_STREQ(message, "invalid generator id");
    }
    try {
        tones.setGeneratorLevel(0, 1.5);
        ADD_FAILURE() << "a level above 1 must throw";
    } catch (const std::domain_error &) {
        ADD_FAILURE() << "the mixer's error arrives as a base std::exception";
    } catch (const std::exception &) {
    }
    expectThrows<std::invalid_argument>([&] { tones.setLevel(std::nan("")); }, "level less than 0");
}
