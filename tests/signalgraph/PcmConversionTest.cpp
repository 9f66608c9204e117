#include "GraphTestKit.h"
#include "WaveDestinationFilter.h"
#include "WaveSourceFilter.h"

#include <cmath>
#include <limits>

using namespace corvane;
using corvane::test::expectThrows;
using corvane::test::Feeder;
using corvane::test::Recorder;

namespace {

int32_t bytesFor(int32_t bits)
{
    return bits == 8 ? 1 : bits == 16 ? 2 : 4;
}

// Interleaved little-endian PCM of the given sample values.
std::vector<uint8_t> pcm(int32_t bits, const std::vector<int32_t> &values)
{
    std::vector<uint8_t> bytes;
    for (int32_t v : values)
        for (int32_t b = 0; b < bytesFor(bits); ++b)
            bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * b)));
    return bytes;
}

// Sample values of a PCM block, the inverse of pcm().
std::vector<int32_t> values(int32_t bits, const std::vector<uint8_t> &bytes)
{
    std::vector<int32_t> out;
    const int32_t n = bytesFor(bits);
    for (std::size_t i = 0; i + std::size_t(n) <= bytes.size(); i += std::size_t(n)) {
        uint32_t v = 0;
        for (int32_t b = 0; b < n; ++b)
            v |= uint32_t { bytes[i + std::size_t(b)] } << (8 * b);
        out.push_back(n == 1 ? int32_t(v) : n == 2 ? int16_t(v) : int32_t(v));
    }
    return out;
}

struct Depth
{
    int32_t bits;
    int32_t low, silence, high; // extreme and silent sample values
    float scale;                // full scale of the source
};

const Depth depths[] = { { 8, 0, 128, 255, 128.0f },
                         { 16, -32768, 0, 32767, 32768.0f },
                         { 24, -8388608, 0, 8388607, 8388608.0f } };

// Writes `input` through a destination of the given layout and returns the sample values.
std::vector<int32_t> write(int32_t bits, int32_t channels, const std::vector<float> &input)
{
    const auto length = int32_t(input.size());
    WaveDestinationFilter sink;
    Feeder feed({ length, 8000.0 });
    feed.out.connect(sink.inputPin(1));
    // Two spare samples past the block show any write beyond it.
    std::vector<uint8_t> target(std::size_t((length * channels + 2) * bytesFor(bits)), 0xAB);
    sink.setTarget({ length, channels, 8000, bits }, target.data());
    feed.push(input);
    return values(bits, target);
}

} // namespace

TEST(WaveSourceFilter, ConvertsTheLeftChannelOfEveryDepthExactly)
{
    for (const Depth &d : depths) {
        for (int32_t channels : { 1, 2 }) {
            const int32_t mid = d.silence + int32_t(d.scale / 2);
            std::vector<int32_t> left { d.low, d.silence, d.high, mid };
            std::vector<int32_t> frames;
            for (int32_t v : left) {
                frames.push_back(v);
                if (channels == 2)
                    frames.push_back(d.high); // the right channel never reaches the graph
            }
            WaveSourceFilter source;
            source.setFormat({ 4, channels, 11025, d.bits });
            Recorder sink;
            source.outputPin(1)->connect(&sink.in);
            EXPECT_TRUE(source.push(pcm(d.bits, frames).data()));

            const std::vector<float> expected { -1.0f, 0.0f, (d.high - d.silence) / d.scale, 0.5f };
            EXPECT_EQ(sink.samples, expected) << d.bits << " bit, " << channels << " channels";
            EXPECT_EQ(source.outputPin(1)->media()->position, 4);
        }
    }
}

// Full scale converts exactly and the right channel is silent. Out-of-range values stay at full
// scale instead of wrapping round to the other extreme, a value that is not a number is written
// as silence, and nothing is written past the block.
TEST(WaveDestinationFilter, WritesFullScaleExactlyAndClampsOutOfRangeValues)
{
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<float> input { 1.0f,    -1.0f, 0.0f, 0.5f,          1.5f,    -1.5f,
                                     1.0e30f, -inf,  inf,  std::nanf(""), 1.00001f };
    for (const Depth &d : depths) {
        const int32_t top = d.bits == 8 ? 255 : d.high;
        const int32_t bottom = d.bits == 8 ? 1 : -d.high;
        const int32_t half = d.bits == 8 ? 191 : d.high / 2; // trunc(0.5 * 127 + 128) is 191
        const int32_t spare = int32_t(uint32_t(0xABABABAB) >> (32 - 8 * bytesFor(d.bits)));
        const int32_t sentinel = d.bits == 16 ? int16_t(spare) : spare;

        EXPECT_EQ(write(d.bits, 1, input),
                  (std::vector<int32_t> { top, bottom, d.silence, half, d.high, d.low, d.high,
                                          d.low, d.high, d.silence, d.high, sentinel, sentinel }))
                << d.bits << " bit";
        EXPECT_EQ(write(d.bits, 2, { 1.0f, -1.0f }),
                  (std::vector<int32_t> { top, d.silence, bottom, d.silence, sentinel, sentinel }))
                << d.bits << " bit";
    }
}

// Neither end ever touches bytes beyond the block its caller described, even after a format
// change the pin refused.
TEST(WaveFilters, RefuseFormatsTheyCannotConvertWithoutTouchingTheCallersBuffer)
{
    const std::vector<uint8_t> block(8, 0);
    WaveSourceFilter source;
    expectThrows<std::domain_error>([&] { source.push(block.data()); }, "filter not configured");
    source.setFormat({ 4, 1, 8000, 12 });
    expectThrows<std::invalid_argument>([&] { source.push(block.data()); }, "bad sample depth");
    const PcmFormat noFrames { 0, 1, 8000, 16 };
    expectThrows<std::length_error>([&] { source.setFormat(noFrames); }, "invalid buffer length");
    expectThrows<std::invalid_argument>([&] { source.push(block.data()); },
                                        "block longer than buffer");

    WaveDestinationFilter sink;
    expectThrows<std::invalid_argument>([&] { sink.outputPin(2); }, "no output pins");
    Feeder feed({ 4, 8000.0 });
    feed.out.connect(sink.inputPin(1));
    expectThrows<std::domain_error>([&] { feed.push({ 1, 1, 1, 1 }); }, "filter not configured");
    std::vector<uint8_t> target(8, 0xAB);
    for (auto [format, message] :
         { std::pair { PcmFormat { 4, 1, 11025, 16 }, "sample rates do not match" },
           { PcmFormat { 3, 1, 8000, 16 }, "block longer than buffer" } }) {
        sink.setTarget(format, target.data());
        expectThrows<std::invalid_argument>([&] { feed.push({ 1, 1, 1, 1 }); }, message);
    }
    EXPECT_EQ(target, std::vector<uint8_t>(8, 0xAB));
}
