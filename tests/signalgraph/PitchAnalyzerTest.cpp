#include "BlockLength.h"
#include "GraphTestKit.h"
#include "PitchAnalyzer.h"
#include "Signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

using namespace corvane;
using namespace corvane::test;

namespace {

double centsBetween(double a, double b)
{
    return 1200.0 * std::log2(a / b);
}

// Feeds a signal block by block and returns the result of every block.
std::vector<PitchResult> analyzeAll(PitchAnalyzer &analyzer, const std::vector<float> &signal,
                                    int32_t blockLength)
{
    const std::vector<uint8_t> bytes = pcm16(signal);
    std::vector<PitchResult> results;
    for (size_t at = 0; at + static_cast<size_t>(blockLength) <= signal.size();
         at += static_cast<size_t>(blockLength))
        results.push_back(*analyzer.analyze(bytes.data() + 2 * at));
    return results;
}

// Reaches the smoothing step on its own.
class ConsensusRig : public PitchAnalyzer
{
public:
    double smooth(int32_t code, const std::array<double, kHistoryLength> &newestFirst)
    {
        configure({ 1024, 1, 11025, 16 }, 1, code);
        setHistory(newestFirst);
        return consensus();
    }
};

} // namespace

TEST(PitchAnalyzer, ASteady440HzSineFillsItsBandAndTheAlignedSignals)
{
    PitchAnalyzer analyzer;
    analyzer.setMode(PitchAnalyzer::Mode::Classic);
    analyzer.configure({ 1024, 1, 11025, 16 }, 1, 2);
    analyzer.setLimits(27.5, 5512.5);
    EXPECT_EQ(analyzer.firLength(), 151);
    for (int32_t i = 0; i < 6; ++i) {
        EXPECT_TRUE(analyzer.stage(i).highOn() && analyzer.stage(i).lowOn()) << "stage " << i;
    }
    EXPECT_FALSE(analyzer.stage(6).highOn() || analyzer.stage(6).lowOn());
    EXPECT_DOUBLE_EQ(analyzer.getMaxDelay(), 150 / 344.53125);

    const std::vector<float> tone = sine(440.0, 11025.0, 1024 * 14, 0.5);
    const std::vector<PitchResult> results = analyzeAll(analyzer, tone, 1024);
    // The slowest band lags 0.435 s, nearly five blocks; from the sixth block on every band
    // holds the tone. (How close the pitch comes is the accuracy sweep's business.)
    for (size_t b = 5; b < results.size(); ++b) {
        const PitchResult &r = results[b];
        EXPECT_GT(r.bandEnergy[1], 0.9 * r.totalEnergy) << "block " << b;
        EXPECT_NEAR(r.bandFrequency[1], 440.0, 0.5) << "block " << b;
        for (size_t unused = 8; unused < 11; ++unused)
            EXPECT_EQ(r.bandFrequency[unused] + r.bandEnergy[unused], 0.0);
    }

    // The signals the panes show: the converted input and the aligned band signal.
    const MediaSample *input = analyzer.inputSignal();
    ASSERT_NE(input, nullptr);
    EXPECT_NEAR(input->buffer()[1023], tone.back(), 1.0 / 32768);
    const MediaSample *band1 = analyzer.bandSignal(1);
    EXPECT_EQ(band1->format.length, 512) << "stage 1 runs at half the rate";
    EXPECT_NEAR(rms(band1->buffer(), 512), 0.5 / std::sqrt(2.0), 0.01);
    EXPECT_EQ(analyzer.bandSignal(8), nullptr);
    EXPECT_EQ(analyzer.bandSignal(-1), nullptr);

    // The refined mode changes the decision only: the same bands, and the same pitch here.
    PitchAnalyzer refined;
    ASSERT_EQ(refined.mode(), PitchAnalyzer::Mode::Refined);
    refined.configure({ 1024, 1, 11025, 16 }, 1, 2);
    refined.setLimits(27.5, 5512.5);
    const std::vector<PitchResult> refinedResults = analyzeAll(refined, tone, 1024);
    for (size_t b = 0; b < results.size(); ++b) {
        EXPECT_EQ(refinedResults[b].bandFrequency, results[b].bandFrequency) << "block " << b;
        EXPECT_EQ(refinedResults[b].bandEnergy, results[b].bandEnergy) << "block " << b;
        if (b >= 9) {
            EXPECT_NEAR(centsBetween(refinedResults[b].pitch, 440.0), 0.0, 1.0) << "block " << b;
        }
    }
    EXPECT_GT(refined.clarity(), 0.99);
    EXPECT_EQ(analyzer.clarity(), 0.0);
}

TEST(PitchAnalyzer, AboveFortyEightKilohertzHalvesTheRateBeforeTheFirstStage)
{
    PitchAnalyzer analyzer;
    analyzer.configure({ 8192, 1, 96000, 16 }, 1, 2);
    analyzer.setLimits(27.5, 5512.5);
    const std::vector<PitchResult> results =
            analyzeAll(analyzer, sine(440.0, 96000.0, 8192 * 10, 0.5), 8192);
    EXPECT_DOUBLE_EQ(analyzer.stage(0).stageDelay(), 150 / 48000.0);
    // Stage 3 runs at 6000 Hz and splits at 375 Hz, so 440 Hz lies in band 3.
    EXPECT_GT(results.back().bandEnergy[3], 0.9 * results.back().totalEnergy);
    EXPECT_NEAR(centsBetween(results.back().pitch, 440.0), 0.0, 2.0);

    // Halved seven times, a block must be divisible by 128.
    EXPECT_THROW(analyzer.configure({ 8192 + 64, 1, 96000, 16 }, 1, 2), std::exception);
}

TEST(PitchAnalyzer, LimitsSwitchBandsAndRealignTheDelays)
{
    PitchAnalyzer analyzer;
    analyzer.configure({ 1024, 1, 11025, 16 }, 1, 2);

    // From 82.5 Hz up, stage 4 is the lowest active one, and the latency halves.
    analyzer.setLimits(82.5, 1760.0);
    EXPECT_FALSE(analyzer.stage(5).highOn());
    EXPECT_NEAR(analyzer.getMaxDelay(), 0.435 / 2, 0.001);

    // A highest limit below half of stage 0's crossover turns its high band off and passes the
    // signal down unfiltered; the lower stages keep the latency as it was.
    analyzer.setLimits(82.5, 300.0);
    EXPECT_FALSE(analyzer.stage(0).highOn());
    EXPECT_TRUE(analyzer.stage(0).lowOn());
    EXPECT_TRUE(analyzer.stage(1).highOn());
    EXPECT_NEAR(analyzer.getMaxDelay(), 0.435 / 2, 0.001);

    // The other lengths: 111 and 71 taps.
    analyzer.configure({ 1024, 1, 11025, 16 }, 2, 2);
    analyzer.setLimits(27.5, 5512.5);
    EXPECT_NEAR(analyzer.getMaxDelay(), 0.319, 0.001);
    analyzer.configure({ 1024, 1, 11025, 16 }, 3, 2);
    EXPECT_NEAR(analyzer.getMaxDelay(), 0.203, 0.001);
    EXPECT_EQ(analyzer.firLength(), 71);
}

TEST(PitchAnalyzer, RefusesLimitsThatAreNotFiniteAndPositiveAndKeepsThePreviousOnes)
{
    PitchAnalyzer analyzer;
    analyzer.configure({ 1024, 1, 11025, 16 }, 1, 2);
    analyzer.setLimits(82.5, 1760.0);
    const double delay = analyzer.getMaxDelay();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<double, double> refused[] = { { 0.0, 1760.0 }, { -27.5, 1760.0 },
                                                  { nan, 1760.0 }, { 82.5, inf },
                                                  { 82.5, 0.0 },   { 82.5, nan } };
    for (auto [lowest, highest] : refused) {
        expectThrows<std::invalid_argument>([&] { analyzer.setLimits(lowest, highest); },
                                            "invalid frequency limit");
        EXPECT_EQ(analyzer.lowestHz(), 82.5);
        EXPECT_EQ(analyzer.highestHz(), 1760.0);
        EXPECT_EQ(analyzer.getMaxDelay(), delay);
    }
}

TEST(PitchAnalyzer, TheLowestNoteInShortBlocksStaysInsideTheBlock)
{
    // At 11025 Hz in blocks of 1024, the third of A#0 (9.7 Hz) has a period longer than the
    // block; the periodicity test must score it 0 rather than read past the block.
    PitchAnalyzer analyzer;
    analyzer.configure({ 1024, 1, 11025, 16 }, 1, 2);
    analyzer.setLimits(27.5, 5512.5);
    const double aSharp0 = 27.5 * std::pow(2.0, 1.0 / 12);
    const std::vector<PitchResult> results = analyzeAll(
            analyzer, harmonicTone(aSharp0, 11025.0, 1024 * 14, { 1.0, 0.5, 0.3 }), 1024);
    EXPECT_NEAR(centsBetween(results.back().pitch, aSharp0), 0.0, 10.0);
}

TEST(PitchAnalyzer, TheLowestNotePlayedFlatIsStillShownButNothingFarBelowIt)
{
    // The factory limit of 82.5 Hz is meant as a guitar's low E (82.41 Hz): that string, even
    // tuned 30 cents flat, must show a pitch; a note a semitone below the limit must not.
    for (auto mode : { PitchAnalyzer::Mode::Classic, PitchAnalyzer::Mode::Refined }) {
        const auto lastPitch = [mode](double hz) {
            PitchAnalyzer analyzer;
            analyzer.setMode(mode);
            analyzer.configure({ 1024, 1, 11025, 16 }, 3, 2);
            analyzer.setLimits(82.5, 1760.0);
            return analyzeAll(analyzer, harmonicTone(hz, 11025.0, 1024 * 12, { 1.0, 0.5, 0.3 }),
                              1024)
                    .back()
                    .pitch;
        };
        const double lowE = 82.40689;
        const double flatLowE = lowE * std::pow(2.0, -30.0 / 1200);
        EXPECT_NEAR(centsBetween(lastPitch(lowE), lowE), 0.0, 5.0);
        EXPECT_NEAR(centsBetween(lastPitch(flatLowE), flatLowE), 0.0, 5.0);
        EXPECT_EQ(lastPitch(82.5 * std::pow(2.0, -1.0 / 12)), 0.0);
    }
}

// A constant offset on the input (some sample sets and sound cards have one) lands in the lowest
// band, whose meter finds no period in it. With the limits reaching down to 27.5 Hz that band is
// switched on at 22050 and 44100 Hz; it must not be taken for the note, in either mode.
TEST(PitchAnalyzer, AnOffsetInTheLowestBandDoesNotHideTheNote)
{
    for (auto mode : { PitchAnalyzer::Mode::Classic, PitchAnalyzer::Mode::Refined }) {
        for (int32_t rate : { 22050, 44100 }) {
            const int32_t length = rate == 22050 ? 2048 : 4096;
            PitchAnalyzer analyzer;
            analyzer.setMode(mode);
            analyzer.configure({ length, 1, rate, 16 }, 3, 2);
            analyzer.setLimits(27.5, 4200.0);
            std::vector<float> tone = harmonicTone(277.2, rate, static_cast<size_t>(length) * 12,
                                                   { 1.0, 0.5, 0.3 }, 0.3);
            for (float &x : tone)
                x += 0.15f;
            const std::vector<PitchResult> results = analyzeAll(analyzer, tone, length);
            const PitchResult &last = results.back();
            ASSERT_EQ(last.bandFrequency[7], 0.0);
            ASSERT_GT(last.bandEnergy[7], 0.2 * last.totalEnergy);
            for (size_t b = 6; b < results.size(); ++b)
                EXPECT_NEAR(centsBetween(results[b].pitch, 277.2), 0.0, 5.0)
                        << (mode == PitchAnalyzer::Mode::Classic ? "classic" : "refined") << " at "
                        << rate << " Hz, block " << b;
        }
    }
}

TEST(PitchAnalyzer, ConsensusOutvotesOctaveJumpsAndHoldsThroughOneSilentBlock)
{
    ConsensusRig rig;
    // Window 3: 880 stands alone, 441 and 440 agree (4 cents apart).
    EXPECT_DOUBLE_EQ(rig.smooth(1, { 880, 441, 440, 0, 0 }), 440.5);
    // One silent block keeps the earlier agreement, the second drops it.
    EXPECT_DOUBLE_EQ(rig.smooth(1, { 0, 440, 440, 0, 0 }), 440.0);
    EXPECT_EQ(rig.smooth(1, { 0, 0, 440, 440, 0 }), 0.0);
    // Silence never agrees with silence either.
    EXPECT_EQ(rig.smooth(3, { 0, 0, 0, 0, 0 }), 0.0);
    // Window 4, a tie of two against two: the newer pair wins.
    EXPECT_DOUBLE_EQ(rig.smooth(2, { 440, 441, 660, 661, 0 }), 440.5);
    // Window 5 reaches the oldest entry; window 4 does not.
    EXPECT_DOUBLE_EQ(rig.smooth(3, { 300, 440, 500, 441, 442 }), 441.0);
    EXPECT_DOUBLE_EQ(rig.smooth(2, { 300, 440, 500, 441, 442 }), 440.5);
}

TEST(PitchAnalyzer, ASensitivityCodeOutsideOneToThreeGivesNoPitch)
{
    for (int32_t code : { 0, 4 }) {
        PitchAnalyzer analyzer;
        analyzer.configure({ 1024, 1, 11025, 16 }, 1, code);
        analyzer.setLimits(27.5, 5512.5);
        const std::vector<PitchResult> results =
                analyzeAll(analyzer, sine(440.0, 11025.0, 1024 * 10, 0.5), 1024);
        EXPECT_NEAR(results.back().bandFrequency[1], 440.0, 0.5);
        for (const PitchResult &r : results)
            EXPECT_EQ(r.pitch, 0.0) << "code " << code;
    }
}

TEST(PitchAnalyzer, InputGainScalesTheSignalAndRefusesNegativeValues)
{
    PitchAnalyzer analyzer;
    analyzer.configure({ 1024, 1, 11025, 16 }, 3, 1);
    analyzer.setLimits(82.5, 1760.0);
    expectThrows<std::invalid_argument>([&] { analyzer.setInputGain(-0.5); }, "negative gain");
    analyzer.setInputGain(0.0);
    const std::vector<PitchResult> results =
            analyzeAll(analyzer, sine(440.0, 11025.0, 1024 * 8, 0.5), 1024);
    EXPECT_EQ(results.back().totalEnergy, 0.0);
    EXPECT_EQ(results.back().pitch, 0.0);
}

TEST(PitchAnalyzerHop, TheImmediateTimingNamesANewNoteWithinTwoHopsOfItsOnsetAndNeverTheOldOneAgain)
{
    // A4 slurred to C5 at 44.1 kHz, as the tuner hears it: a result every 23 ms, the period
    // search down-sampled to 11025 Hz, no band waiting for another.
    const int32_t rate = 44100;
    const int32_t hop = hopLengthForRate(rate);
    PitchAnalyzer analyzer;
    analyzer.setTiming(PitchAnalyzer::Timing::Immediate);
    analyzer.configure({ blockLengthForRate(rate), 1, rate, 16 }, 3, 2, hop);
    analyzer.setLimits(30.8677, 4186.009);
    std::vector<uint8_t> pcm(static_cast<size_t>(3 * rate) * 2);
    double phase = 0.0;
    for (size_t i = 0; i < pcm.size() / 2; ++i) {
        phase += 2.0 * M_PI * (i < static_cast<size_t>(2 * rate) ? 440.0 : 523.25) / rate;
        const double x = 0.3 * std::sin(phase) + 0.15 * std::sin(2 * phase);
        const auto v = static_cast<uint16_t>(static_cast<int16_t>(std::lround(x * 32767)));
        pcm[2 * i] = static_cast<uint8_t>(v & 0xff);
        pcm[2 * i + 1] = static_cast<uint8_t>(v >> 8);
    }
    double shown = -1.0;
    for (size_t at = 0; at + static_cast<size_t>(hop) * 2 <= pcm.size(); at += hop * 2) {
        const PitchResult &r = *analyzer.analyze(pcm.data() + at);
        const double end = static_cast<double>(at / 2 + hop) / rate;
        if (end > 2.0 && shown < 0.0 && std::abs(1200.0 * std::log2(r.pitch / 523.25)) < 5.0)
            shown = end;
        if (shown > 0.0) {
            EXPECT_NEAR(r.pitch, 523.25, 0.3) << end;
        }
    }
    EXPECT_GT(shown, 2.0);
    EXPECT_LE(shown, 2.0 + 2.0 * hop / rate);
}
