#include "BlockRecorder.h"
#include "DecimationFilter.h"
#include "FloatSource.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace corvane;
using namespace corvane::test;

TEST(DecimationFilter, RefusesFormatsItCannotHalveInOrder)
{
    DecimationFilter d;
    d.bindPins();
    auto message = [&](const MediaFormat &format) -> std::string {
        try {
            d.configure(format);
        } catch (const std::length_error &e) {
            return std::string("length: ") + e.what();
        } catch (const std::domain_error &e) {
            return std::string("domain: ") + e.what();
        }
        return "accepted";
    };
    EXPECT_EQ(message({ 0, 0.0 }), "length: invalid buffer length");
    EXPECT_EQ(message({ 1023, 0.0 }), "domain: invalid sample rate");
    EXPECT_EQ(message({ 1023, 11025.0 }), "domain: odd buffer length");
    EXPECT_EQ(message({ 1024, 11025.0 }), "accepted");
    EXPECT_EQ(d.outputPin(2)->media()->format.length, 512);
    EXPECT_EQ(d.outputPin(2)->media()->format.sampleRate, 5512.5);
}

TEST(DecimationFilter, KeepsTheEvenSamplesOfEveryBlock)
{
    FloatSource source({ 6, 600.0 });
    DecimationFilter d;
    d.bindPins();
    BlockRecorder out;
    source.out.connect(d.inputPin(1));
    d.outputPin(2)->connect(&out.in);
    EXPECT_EQ(out.configured.length, 3);

    const float first[] = { 0, 1, 2, 3, 4, 5 }, second[] = { 6, 7, 8, 9, 10, 11 };
    source.push(first);
    source.push(second);
    EXPECT_EQ(out.samples, (std::vector<float> { 0, 2, 4, 6, 8, 10 }));
    EXPECT_EQ(d.outputPin(2)->media()->position, 6);
}
